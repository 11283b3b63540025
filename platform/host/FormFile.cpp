#include "FormFile.h"

#include "ControlRegistry.h"
#include "Form.h"
#include "HostError.h"
#include "TabOrder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr double ExtentPerTwip = 2540.0 / 1440.0;
// The largest geometry whose size in hundredths of a millimetre still fits a bag.
constexpr double MaxTwips = std::numeric_limits<qint32>::max() / ExtentPerTwip;

QString lineAndColumn(const QByteArray &text, int offset)
{
    int line = 1;
    int column = 1;
    for (int i = 0; i < offset && i < text.size(); ++i) {
        if (text.at(i) == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("%1:%2").arg(line).arg(column);
}

QString entryName(int index, const QString &name)
{
    return name.isEmpty() ? QStringLiteral("controls[%1]").arg(index)
                          : QStringLiteral("controls[%1] (%2)").arg(index).arg(name);
}

double number(const QJsonObject &o, const char *field, const QString &file, const QString &where)
{
    const QJsonValue v = o.value(QLatin1String(field));
    if (v.isUndefined())
        return 0;
    if (!v.isDouble() || !std::isfinite(v.toDouble()))
        throw FormFileError(file, where, QStringLiteral("\"%1\" must be a number").arg(field));
    if (std::abs(v.toDouble()) > MaxTwips)
        throw FormFileError(file, where,
                            QStringLiteral("\"%1\" is %2 twips, beyond the %3 a control can have")
                                .arg(QLatin1String(field))
                                .arg(v.toDouble())
                                .arg(std::floor(MaxTwips), 0, 'f', 0));
    return v.toDouble();
}

int wholeNumber(const QJsonObject &o, const char *field, int fallback, const QString &file,
                const QString &where)
{
    const QJsonValue v = o.value(QLatin1String(field));
    if (v.isUndefined())
        return fallback;
    const double d = v.toDouble(0.5);
    if (!v.isDouble() || d != std::trunc(d) || std::abs(d) > 32767)
        throw FormFileError(file, where,
                            QStringLiteral("\"%1\" must be a whole number").arg(field));
    return int(d);
}

ControlDescription parseControl(const QJsonValue &value, const JsonNode &source, int index,
                                const QString &file)
{
    QString where = entryName(index, {});
    if (!value.isObject())
        throw FormFileError(file, where, QStringLiteral("a control must be an object"));
    const QJsonObject o = value.toObject();
    ControlDescription c;
    c.extender.Name = o.value(QLatin1String("name")).toString();
    where = entryName(index, c.extender.Name);
    if (c.extender.Name.isEmpty())
        throw FormFileError(file, where, QStringLiteral("the control has no \"name\""));
    c.className = o.value(QLatin1String("class")).toString();
    if (c.className.isEmpty())
        throw FormFileError(file, where, QStringLiteral("the control has no \"class\""));
    c.extender.Index = wholeNumber(o, "index", -1, file, where);
    c.extender.TabIndex = wholeNumber(o, "tabindex", -1, file, where);
    c.extender.Left = number(o, "left", file, where);
    c.extender.Top = number(o, "top", file, where);
    c.extender.Width = number(o, "width", file, where);
    c.extender.Height = number(o, "height", file, where);
    const QJsonValue bag = o.value(QLatin1String("bag"));
    if (!bag.isUndefined()) {
        if (!bag.isObject())
            throw FormFileError(file, where, QStringLiteral("\"bag\" must be an object"));
        c.bag = PropertyBag(*source.member(u"bag"));
    }
    c.source = source;
    return c;
}

// Written over the entry the file held, if any: what did not change stays as it was, where
// it was, and keys of the file's own stay. Geometry the file left out stays out while it is 0.
JsonNode writeControl(const UserControl &control, const ControlRegistry &registry,
                      const QString &formName, const JsonNode *source)
{
    const ControlClass *kind = registry.classOf(&control);
    if (!kind)
        throw FormFileError(formName, control.objectName(),
                            QStringLiteral("the control's class is not registered"));
    const Extender &e = control.extender();
    JsonNode o = source ? *source : JsonNode::object();
    o.set(u"class", QJsonValue(kind->name));
    o.set(u"name", QJsonValue(e.Name));
    const auto whole = [&o](QStringView key, int value) {
        const JsonNode *saved = o.member(key);
        if (value >= 0 || (saved && *saved == JsonNode(QJsonValue(value))))
            o.set(key, QJsonValue(value));
        else
            o.remove(key);
    };
    whole(u"index", e.Index);
    const std::pair<const char16_t *, double> geometry[] = {
        {u"left", e.Left}, {u"top", e.Top}, {u"width", e.Width}, {u"height", e.Height}};
    for (const auto &[key, twips] : geometry) {
        if (twips != 0 || !source || source->member(key))
            o.set(key, QJsonValue(twips));
    }
    whole(u"tabindex", e.TabIndex);
    const JsonNode *savedBag = source ? source->member(u"bag") : nullptr;
    PropertyBag bag(savedBag ? *savedBag : JsonNode::object());
    bag.setHostValue(QStringLiteral("_extentx"), FormFile::toExtent(e.Width));
    bag.setHostValue(QStringLiteral("_extenty"), FormFile::toExtent(e.Height));
    control.WriteProperties(bag);
    o.set(u"bag", bag.node());
    return o;
}

QStringList undecodedPictures(const QString &where, const PropertyBag &bag)
{
    QStringList lines;
    for (const QString &key : bag.undecodedPictures())
        lines.append(QStringLiteral("%1: \"%2\": the picture cannot be decoded; it is kept as the "
                                    "file holds it")
                         .arg(where, key));
    return lines;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The bytes of a regular file, opened without waiting: opening a pipe for reading would wait
// for a writer.
QByteArray readRegularFile(const QString &path)
{
    const auto refuse = [&path](const QString &why) {
        return FormFileError(path, QStringLiteral("1:1"), why);
    };
    if (path.startsWith(QLatin1Char(':'))) {
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly))
            throw refuse(resource.errorString());
        return resource.readAll();
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw refuse(systemError(errno));
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        throw refuse(systemError(errno));
    if (!S_ISREG(status.st_mode))
        throw refuse(QStringLiteral("not a regular file"));
    const auto tooLarge = [&] {
        return refuse(QStringLiteral("larger than %1 MiB, more than any form needs")
                          .arg(FormFile::MaxFileSize / (1024 * 1024)));
    };
    if (status.st_size > FormFile::MaxFileSize)
        throw tooLarge();
    const QByteArray text = file.read(FormFile::MaxFileSize + 1);
    if (text.size() > FormFile::MaxFileSize)
        throw tooLarge();
    if (file.error() != QFileDevice::NoError)
        throw refuse(file.errorString());
    return text;
}

// Every byte is written or the save fails: a short write is followed by another, which then
// reports why the disk took no more. Unbuffered, so that no write is left for commit() to
// make.
void writeAtomically(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    const auto fail = [&] {
        const QString why = file.errorString();
        file.cancelWriting();
        return FormFileError(path, QString(), why + QStringLiteral("; the file is as it was"));
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw fail();
    for (qsizetype done = 0; done < text.size();) {
        const qint64 written = file.write(text.constData() + done, text.size() - done);
        if (written <= 0)
            throw fail();
        done += written;
    }
    if (!file.commit())
        throw FormFileError(path, QString(),
                            file.errorString() + QStringLiteral("; the file is as it was"));
}
} // namespace

FormFileError::FormFileError(const QString &file, const QString &position, const QString &message)
    : std::runtime_error(QStringLiteral("%1: %2: %3").arg(file, position, message).toStdString())
    , m_file(file)
    , m_position(position)
    , m_message(message)
{
}

namespace FormFile {
int toExtent(double twips)
{
    return int(std::lround(twips * ExtentPerTwip));
}

FormDescription parse(const QByteArray &text, const QString &fileName)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        throw FormFileError(fileName, lineAndColumn(text, error.offset), error.errorString());
    if (!doc.isObject())
        throw FormFileError(fileName, QStringLiteral("1:1"),
                            QStringLiteral("a form file holds one object"));
    const QJsonObject root = doc.object();

    FormDescription d;
    d.name = root.value(QLatin1String("form")).toString();
    if (d.name.isEmpty())
        throw FormFileError(fileName, QStringLiteral("form"),
                            QStringLiteral("the form has no name"));
    const QJsonValue properties = root.value(QLatin1String("properties"));
    if (!properties.isUndefined() && !properties.isObject())
        throw FormFileError(fileName, QStringLiteral("properties"),
                            QStringLiteral("\"properties\" must be an object"));
    const QJsonValue controls = root.value(QLatin1String("controls"));
    if (!controls.isUndefined() && !controls.isArray())
        throw FormFileError(fileName, QStringLiteral("controls"),
                            QStringLiteral("\"controls\" must be a list"));
    const QJsonArray list = controls.toArray();
    if (list.size() > MaxControls)
        throw FormFileError(fileName, QStringLiteral("controls"),
                            QStringLiteral("%1 controls are more than the %2 a form can hold")
                                .arg(list.size())
                                .arg(MaxControls));

    d.text = text;
    d.source = JsonNode::read(text, root);
    if (const JsonNode *saved = d.source.member(u"properties"))
        d.properties = PropertyBag(*saved);
    const JsonNode *entries = d.source.member(u"controls");
    for (int i = 0; i < list.size(); ++i)
        d.controls.append(parseControl(list.at(i), entries->items().at(size_t(i)), i, fileName));
    return d;
}

FormDescription read(const QString &path)
{
    return parse(readRegularFile(path), path);
}

UserControl *site(Form &form, const ControlDescription &control, const ControlRegistry &registry)
{
    std::unique_ptr<UserControl> created(registry.create(control.className, &form));
    if (!created)
        return nullptr;
    created->setAmbient(form.userMode(), *form.Font());
    UserControl *placed = created.release();
    form.addControl(placed);
    placed->setExtender(control.extender);
    placed->Initialize();
    if (control.bag)
        placed->ReadProperties(*control.bag);
    else
        placed->InitProperties();
    placed->setVisible(!(form.userMode() && placed->InvisibleAtRunTime()));
    return placed;
}

QStringList load(Form &form, const FormDescription &description, const ControlRegistry &registry,
                 const QString &fileName)
{
    const QString file = fileName.isEmpty() ? description.name : fileName;
    QStringList problems;
    const auto note = [&problems](const QString &where, const PropertyBag &bag) {
        problems.append(undecodedPictures(where, bag));
    };
    form.setName(description.name);
    try {
        form.ReadProperties(description.properties);
    } catch (const HostError &e) {
        throw FormFileError(file, QStringLiteral("properties"), QString::fromUtf8(e.what()));
    }
    note(QStringLiteral("properties"), description.properties);
    for (int i = 0; i < description.controls.size(); ++i) {
        const ControlDescription &c = description.controls.at(i);
        const QString where = entryName(i, c.extender.Name);
        UserControl *placed = nullptr;
        try {
            placed = site(form, c, registry);
        } catch (const HostError &e) {
            throw FormFileError(file, where, QString::fromUtf8(e.what()));
        }
        if (!placed)
            throw FormFileError(file, where,
                                QStringLiteral("unknown control class \"%1\"").arg(c.className));
        if (c.bag)
            note(where, *c.bag);
    }
    applyTabOrder(form);
    return problems;
}

void load(Form &form, const QString &path, const ControlRegistry &registry)
{
    load(form, read(path), registry, path);
}

QByteArray write(const Form &form, const ControlRegistry &registry, const FormSource *source)
{
    JsonNode root = source ? source->root() : JsonNode::object();
    root.set(u"form", QJsonValue(form.Name()));
    const JsonNode *savedProperties = root.member(u"properties");
    PropertyBag properties(savedProperties ? *savedProperties : JsonNode::object());
    form.WriteProperties(properties);
    if (savedProperties || !properties.isEmpty())
        root.set(u"properties", properties.node());
    JsonNode controls = JsonNode::array();
    for (const UserControl *c : form.controls())
        controls.append(
            writeControl(*c, registry, form.Name(), source ? source->entryOf(c) : nullptr));
    if (root.member(u"controls") || !form.controls().isEmpty())
        root.set(u"controls", controls);
    if (source && root == source->root())
        return source->text();
    return root.toText() + '\n';
}

void save(const Form &form, const QString &path, const ControlRegistry &registry,
          const FormSource *source)
{
    writeAtomically(path, write(form, registry, source));
}
} // namespace FormFile

FormSource::FormSource(const FormDescription &description, const Form &form)
    : m_text(description.text)
    , m_root(description.source)
{
    const QList<UserControl *> &controls = form.controls();
    for (qsizetype i = 0; i < controls.size() && i < description.controls.size(); ++i)
        m_controls.insert(controls.at(i), {controls.at(i), description.controls.at(i).source});
}

const JsonNode *FormSource::entryOf(const UserControl *control) const
{
    const auto it = m_controls.constFind(control);
    return it != m_controls.cend() && it->first == control ? &it->second : nullptr;
}
