#include "ControlProperties.h"

#include "ControlNames.h"
#include "Form.h"
#include "UserControl.h"

#include <limits>

QList<ListedProperty> extenderProperties(QObject *object)
{
    if (auto *form = qobject_cast<Form *>(object)) {
        return {{QStringLiteral("(Name)"), QString(), form->Name(), [form](const QVariant &v) {
                     const QString name = v.toString();
                     if (!ControlNames::isValidName(name))
                         throw HostError(HostError::InvalidPropertyValue,
                                         QStringLiteral("\"%1\" is not a valid name").arg(name));
                     form->setName(name);
                 }}};
    }
    auto *control = qobject_cast<UserControl *>(object);
    if (!control || !control->ParentForm())
        return {};
    const auto rename = [control](const ControlName &to) {
        const Form *form = control->ParentForm();
        const ControlName from{control->Name(), control->Index()};
        QList<ControlName> others;
        for (const UserControl *c : form->controls()) {
            if (c != control)
                others.append({c->Name(), c->Index()});
        }
        const QString refusal = ControlNames::refusal(others, from, to);
        if (!refusal.isEmpty())
            throw HostError(HostError::InvalidPropertyValue, refusal);
        for (UserControl *c : form->controls()) {
            const bool sameArray = from.index >= 0 && c != control &&
                                   c->Name().compare(from.name, Qt::CaseInsensitive) == 0;
            if (c != control && !sameArray)
                continue;
            Extender e = c->extender();
            e.Name = to.name;
            if (c == control)
                e.Index = to.index;
            c->setExtender(e);
        }
    };
    const auto size = [](const QVariant &v) {
        const double twips = v.toDouble();
        if (twips < 0)
            throw HostError(HostError::InvalidPropertyValue,
                            QStringLiteral("%1 is not between 0 and %2")
                                .arg(twips)
                                .arg(std::numeric_limits<qint32>::max()));
        return twips;
    };
    UserControl *c = control;
    return {
        {QStringLiteral("(Name)"), QString(), c->Name(),
         [c, rename](const QVariant &v) {
             rename({v.toString(), c->Index()});
         }},
        // Wider than an index may be, so that the refusal names the index's own range.
        {QStringLiteral("Index"), QVariant::fromValue(qint32(-1)),
         QVariant::fromValue(qint32(c->Index())),
         [c, rename](const QVariant &v) {
             rename({c->Name(), v.toInt()});
         }},
        {QStringLiteral("Left"), 0.0, c->Left(),
         [c](const QVariant &v) { c->Move(v.toDouble(), c->Top(), c->Width(), c->Height()); }},
        {QStringLiteral("Top"), 0.0, c->Top(),
         [c](const QVariant &v) { c->Move(c->Left(), v.toDouble(), c->Width(), c->Height()); }},
        {QStringLiteral("Width"), 0.0, c->Width(),
         [c, size](const QVariant &v) { c->Move(c->Left(), c->Top(), size(v), c->Height()); }},
        {QStringLiteral("Height"), 0.0, c->Height(),
         [c, size](const QVariant &v) { c->Move(c->Left(), c->Top(), c->Width(), size(v)); }},
        {QStringLiteral("TabIndex"), QVariant::fromValue(qint16(-1)),
         QVariant::fromValue(qint16(c->TabIndex())),
         [c](const QVariant &v) {
             Extender e = c->extender();
             e.TabIndex = v.toInt();
             c->setExtender(e);
         }},
    };
}

QList<ListedProperty> listProperties(QObject *object)
{
    if (auto *control = qobject_cast<UserControl *>(object))
        return control->listProperties();
    if (auto *form = qobject_cast<Form *>(object))
        return form->listProperties();
    return {};
}
