#include "FormDocument.h"

#include "ControlRegistry.h"
#include "Form.h"
#include "FormFile.h"
#include "HostError.h"
#include "UserControl.h"

#include <algorithm>
#include <utility>

namespace {
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
    const ControlClass *kind = m_registry.find(className);
    if (!kind)
        return nullptr;
    ControlDescription control;
    control.className = className;
    Extender &place = control.extender;
    place.Name = freeName(className);
    place.Left = topLeft.x();
    place.Top = topLeft.y();
    place.Width = kind->newSize.width();
    place.Height = kind->newSize.height();
    for (const UserControl *c : m_form->controls())
        place.TabIndex = std::max(place.TabIndex, c->TabIndex());
    ++place.TabIndex;
    UserControl *placed = FormFile::site(*m_form, control, m_registry);
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
