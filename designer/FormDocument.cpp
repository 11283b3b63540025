#include "FormDocument.h"

#include "ControlRegistry.h"
#include "Form.h"
#include "FormFile.h"
#include "HostError.h"
#include "UserControl.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {
// The size a new control starts at, in twips, where the class's own default is not the one
// for every other; the invisible helpers and the border then insist on their own.
struct NewControl {
    const char *className;
    double width;
    double height;
};
constexpr NewControl newControls[] = {
    {"Label", 1215, 255},          {"TextBox", 1215, 285},      {"Timer", 420, 420},
    {"Kelvo.ZoButton", 1215, 375}, {"Kelvo.ZoOnTop", 480, 480}, {"Kelvo.ZoFormPos", 240, 230},
    {"Kelvo.ZoBorder", 2400, 60},
};

std::unique_ptr<Form> designForm(const QString &name)
{
    auto form = std::make_unique<Form>(name);
    form->setUserMode(false);
    return form;
}

std::unique_ptr<Form> blankForm()
{
    std::unique_ptr<Form> form = designForm(QStringLiteral("Form1"));
    form->setClientSize(4800, 3600);
    return form;
}
} // namespace

FormDocument::FormDocument(const ControlRegistry &registry)
    : m_registry(registry)
    , m_form(blankForm())
{
}

FormDocument::~FormDocument() = default;

void FormDocument::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void FormDocument::newForm()
{
    m_source = FormSource();
    m_openProblems.clear();
    replaceForm(blankForm(), {});
}

void FormDocument::open(const QString &path)
{
    std::unique_ptr<Form> form = designForm(QString());
    const FormDescription description = FormFile::read(path);
    QStringList problems = FormFile::load(*form, description, m_registry, path);
    m_source = FormSource(description, *form);
    m_openProblems = std::move(problems);
    replaceForm(std::move(form), path);
}

void FormDocument::save(const QString &path)
{
    try {
        FormFile::save(*m_form, path, m_registry, &m_source);
    } catch (const FormFileError &e) {
        // Writing a control names the form, not the file it goes to.
        throw FormFileError(path, e.position(), e.message());
    } catch (const HostError &e) {
        throw FormFileError(path, QString(), QString::fromUtf8(e.what()));
    }
    m_path = path;
    setModified(false);
}

QByteArray FormDocument::snapshot() const
{
    return FormFile::write(*m_form, m_registry, &m_source);
}

void FormDocument::restore(const QByteArray &text)
{
    std::unique_ptr<Form> form = designForm(QString());
    const FormDescription description = FormFile::parse(text, m_path);
    FormFile::load(*form, description, m_registry, m_path);
    // What the restored text holds and the designer does not know is kept as in a file opened.
    m_source = FormSource(description, *form);
    const std::unique_ptr<Form> old = std::exchange(m_form, std::move(form));
    emit formReplaced(m_form.get());
}

QStringList FormDocument::paletteClasses() const
{
    return m_registry.classNames();
}

UserControl *FormDocument::addControl(const QString &className, QPointF topLeft)
{
    std::unique_ptr<UserControl> control(m_registry.create(className, m_form.get()));
    if (!control)
        return nullptr;
    const auto kind = std::find_if(std::begin(newControls), std::end(newControls),
                                   [&](const NewControl &k) { return className == k.className; });
    const bool known = kind != std::end(newControls);
    Extender place;
    place.Name = freeName(className);
    place.Left = topLeft.x();
    place.Top = topLeft.y();
    place.Width = known ? kind->width : 1215;
    place.Height = known ? kind->height : 375;
    for (const UserControl *c : m_form->controls())
        place.TabIndex = std::max(place.TabIndex, c->TabIndex());
    ++place.TabIndex;

    control->setAmbient(m_form->userMode(), *m_form->Font());
    UserControl *placed = control.release();
    m_form->addControl(placed);
    placed->setExtender(place);
    placed->Initialize();
    placed->InitProperties();
    placed->show();
    setModified(true);
    return placed;
}

void FormDocument::replaceForm(std::unique_ptr<Form> form, const QString &path)
{
    const std::unique_ptr<Form> old = std::exchange(m_form, std::move(form));
    m_path = path;
    emit formReplaced(m_form.get());
    setModified(false);
}

// The class's own name without its library ("Kelvo.ZoBorder": "ZoBorder"), numbered from 1.
QString FormDocument::freeName(const QString &className) const
{
    const QString base = className.section(QLatin1Char('.'), -1);
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        const bool taken = std::any_of(m_form->controls().begin(), m_form->controls().end(),
                                       [&](const UserControl *c) {
                                           return c->Name().compare(name, Qt::CaseInsensitive) == 0;
                                       });
        if (!taken)
            return name;
    }
}
