#include "FormFile.h"

#include "Form.h"
#include "HostError.h"
#include "TabOrder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>
#include <memory>

namespace {
constexpr double ExtentPerTwip = 2540.0 / 1440.0;

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

ControlDescription parseControl(const QJsonValue &value, int index, const QString &file)
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
        c.bag = PropertyBag(bag.toObject());
    }
    return c;
}

QJsonObject writeControl(const UserControl &control, const ControlRegistry &registry,
                         const QString &formName)
{
    const QString className = registry.classNameOf(&control);
    if (className.isEmpty())
        throw FormFileError(formName, control.objectName(),
                            QStringLiteral("the control's class is not registered"));
    const Extender &e = control.extender();
    QJsonObject o{{"class", className}, {"name", e.Name},   {"left", e.Left},
                  {"top", e.Top},       {"width", e.Width}, {"height", e.Height}};
    if (e.Index >= 0)
        o.insert("index", e.Index);
    if (e.TabIndex >= 0)
        o.insert("tabindex", e.TabIndex);
    PropertyBag bag;
    bag.setHostValue(QStringLiteral("_extentx"), FormFile::toExtent(e.Width));
    bag.setHostValue(QStringLiteral("_extenty"), FormFile::toExtent(e.Height));
    control.WriteProperties(bag);
    o.insert("bag", bag.toJson());
    return o;
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
    d.properties = PropertyBag(properties.toObject());
    const QJsonValue controls = root.value(QLatin1String("controls"));
    if (!controls.isUndefined() && !controls.isArray())
        throw FormFileError(fileName, QStringLiteral("controls"),
                            QStringLiteral("\"controls\" must be a list"));
    const QJsonArray list = controls.toArray();
    for (int i = 0; i < list.size(); ++i)
        d.controls.append(parseControl(list.at(i), i, fileName));
    return d;
}

FormDescription read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FormFileError(path, QStringLiteral("1:1"), file.errorString());
    return parse(file.readAll(), path);
}

void load(Form &form, const FormDescription &description, const ControlRegistry &registry,
          const QString &fileName)
{
    const QString file = fileName.isEmpty() ? description.name : fileName;
    form.setName(description.name);
    try {
        form.ReadProperties(description.properties);
    } catch (const HostError &e) {
        throw FormFileError(file, QStringLiteral("properties"), QString::fromUtf8(e.what()));
    }
    for (int i = 0; i < description.controls.size(); ++i) {
        const ControlDescription &c = description.controls.at(i);
        const QString where = entryName(i, c.extender.Name);
        std::unique_ptr<UserControl> control(registry.create(c.className, &form));
        if (!control)
            throw FormFileError(file, where,
                                QStringLiteral("unknown control class \"%1\"").arg(c.className));
        control->setAmbient(form.userMode(), *form.Font());
        UserControl *placed = control.release();
        form.addControl(placed);
        try {
            placed->setExtender(c.extender);
            placed->Initialize();
            if (c.bag)
                placed->ReadProperties(*c.bag);
            else
                placed->InitProperties();
        } catch (const HostError &e) {
            throw FormFileError(file, where, QString::fromUtf8(e.what()));
        }
        placed->setVisible(!(form.userMode() && placed->InvisibleAtRunTime()));
    }
    applyTabOrder(form);
}

void load(Form &form, const QString &path, const ControlRegistry &registry)
{
    load(form, read(path), registry, path);
}

QByteArray write(const Form &form, const ControlRegistry &registry)
{
    PropertyBag properties;
    form.WriteProperties(properties);
    QJsonArray controls;
    for (const UserControl *c : form.controls())
        controls.append(writeControl(*c, registry, form.Name()));
    const QJsonObject root{
        {"form", form.Name()}, {"properties", properties.toJson()}, {"controls", controls}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool save(const Form &form, const QString &path, const ControlRegistry &registry)
{
    const QByteArray text = write(form, registry);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text);
    return file.commit();
}
} // namespace FormFile
