#include "FormText.h"

#include "ControlNames.h"
#include "FormFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// The text as a form file: checked as loading checks it, then taken apart as JSON.
QJsonObject parsed(const QByteArray &text, const QString &what)
{
    FormFile::parse(text, what);
    return QJsonDocument::fromJson(text).object();
}

QJsonArray controlsOf(const QJsonObject &form)
{
    return form.value(QLatin1String("controls")).toArray();
}

ControlName nameOf(const QJsonValue &control)
{
    const QJsonObject o = control.toObject();
    return {o.value(QLatin1String("name")).toString(), o.value(QLatin1String("index")).toInt(-1)};
}

QByteArray withControls(QJsonObject form, const QJsonArray &controls)
{
    form.insert(QLatin1String("controls"), controls);
    return QJsonDocument(form).toJson(QJsonDocument::Indented);
}

QByteArray filtered(const QByteArray &text, const QStringList &keys, bool keep)
{
    const QJsonObject form = parsed(text, QStringLiteral("form"));
    QJsonArray controls;
    for (const QJsonValue &c : controlsOf(form)) {
        if (keys.contains(nameOf(c).key(), Qt::CaseInsensitive) == keep)
            controls.append(c);
    }
    return withControls(form, controls);
}
} // namespace

QByteArray FormText::extract(const QByteArray &form, const QStringList &keys)
{
    return filtered(form, keys, true);
}

QByteArray FormText::remove(const QByteArray &form, const QStringList &keys)
{
    return filtered(form, keys, false);
}

QByteArray FormText::insert(const QByteArray &text, const QByteArray &clip, QPointF offset,
                            QStringList *added)
{
    const QJsonObject form = parsed(text, QStringLiteral("form"));
    const QJsonArray pastedControls = controlsOf(parsed(clip, QStringLiteral("clipboard")));
    QJsonArray controls = controlsOf(form);
    QList<ControlName> taken, pasted;
    int tabIndex = -1;
    for (const QJsonValue &c : std::as_const(controls)) {
        taken.append(nameOf(c));
        tabIndex = std::max(tabIndex, c.toObject().value(QLatin1String("tabindex")).toInt(-1));
    }
    for (const QJsonValue &c : pastedControls)
        pasted.append(nameOf(c));
    const QList<ControlName> names = ControlNames::forPaste(taken, pasted);
    for (int i = 0; i < pastedControls.size(); ++i) {
        QJsonObject c = pastedControls.at(i).toObject();
        const ControlName &name = names.at(i);
        c.insert(QLatin1String("name"), name.name);
        if (name.index >= 0)
            c.insert(QLatin1String("index"), name.index);
        c.insert(QLatin1String("left"), c.value(QLatin1String("left")).toDouble() + offset.x());
        c.insert(QLatin1String("top"), c.value(QLatin1String("top")).toDouble() + offset.y());
        if (c.contains(QLatin1String("tabindex")))
            c.insert(QLatin1String("tabindex"), ++tabIndex);
        controls.append(c);
        if (added)
            added->append(name.key());
    }
    return withControls(form, controls);
}

QPointF FormText::pasteOffset(const QByteArray &text, const QByteArray &clip, double step)
{
    const QJsonArray pastedControls = controlsOf(parsed(clip, QStringLiteral("clipboard")));
    if (pastedControls.isEmpty())
        return {};
    const QJsonObject first = pastedControls.first().toObject();
    const QPointF at(first.value(QLatin1String("left")).toDouble(),
                     first.value(QLatin1String("top")).toDouble());
    const QJsonArray controls = controlsOf(parsed(text, QStringLiteral("form")));
    const auto occupied = [&](QPointF p) {
        for (const QJsonValue &c : controls) {
            const QJsonObject o = c.toObject();
            if (QPointF(o.value(QLatin1String("left")).toDouble(),
                        o.value(QLatin1String("top")).toDouble()) == p)
                return true;
        }
        return false;
    };
    QPointF offset;
    for (qsizetype tries = 0; tries <= controls.size() && occupied(at + offset); ++tries)
        offset += QPointF(step, step);
    return offset;
}
