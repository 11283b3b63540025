#include "ControlNames.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
constexpr int MaxNameLength = 40;

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool nameUsed(const QList<ControlName> &taken, const QString &name)
{
    return std::any_of(taken.begin(), taken.end(),
                       [&](const ControlName &c) { return sameName(c.name, name); });
}

// The name's stem numbered from 1, the first that no control uses.
QString freeNumbered(const QList<ControlName> &taken, const QString &name)
{
    QString stem = name;
    while (!stem.isEmpty() && stem.back().isDigit())
        stem.chop(1);
    if (stem.isEmpty())
        stem = name;
    for (int n = 1;; ++n) {
        const QString candidate = stem + QString::number(n);
        if (!nameUsed(taken, candidate))
            return candidate;
    }
}
} // namespace

QString ControlName::key() const
{
    return index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name;
}

bool ControlName::operator==(const ControlName &other) const
{
    return index == other.index && sameName(name, other.name);
}

bool ControlNames::isValidName(const QString &name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    return name.size() <= MaxNameLength && identifier.match(name).hasMatch();
}

QList<ControlName> ControlNames::forPaste(QList<ControlName> taken,
                                          const QList<ControlName> &pasted)
{
    QList<ControlName> names;
    for (ControlName c : pasted) {
        const auto sameArray = [&](const ControlName &t) { return sameName(t.name, c.name); };
        const bool used = std::any_of(taken.begin(), taken.end(), sameArray);
        const bool usedAlone = std::any_of(taken.begin(), taken.end(), [&](const ControlName &t) {
            return sameArray(t) && t.index < 0;
        });
        if (c.index >= 0 && used && !usedAlone) {
            if (taken.contains(c)) {
                int last = -1;
                for (const ControlName &t : std::as_const(taken)) {
                    if (sameArray(t))
                        last = std::max(last, t.index);
                }
                if (last < MaxIndex)
                    c.index = last + 1;
                else
                    c.name = freeNumbered(taken, c.name);
            }
        } else if (used) {
            c.name = freeNumbered(taken, c.name);
        }
        taken.append(c);
        names.append(c);
    }
    return names;
}

QString ControlNames::refusal(const QList<ControlName> &others, const ControlName &from,
                              const ControlName &to)
{
    if (!isValidName(to.name))
        return QStringLiteral("\"%1\" is not a valid name: it starts with a letter and holds "
                              "letters, digits and \"_\", at most %2")
            .arg(to.name)
            .arg(MaxNameLength);
    if (to.index < -1 || to.index > MaxIndex)
        return QStringLiteral("%1 is not between 0 and %2").arg(to.index).arg(MaxIndex);
    const bool renamed = !sameName(from.name, to.name);
    for (const ControlName &other : others) {
        const bool inArray = from.index >= 0 && sameName(other.name, from.name);
        if (renamed && !inArray && sameName(other.name, to.name))
            return QStringLiteral("\"%1\" is already the name of another control").arg(to.name);
        if (!renamed && sameName(other.name, to.name)) {
            if (to.index < 0)
                return QStringLiteral("%1 has other members: each needs its index").arg(from.name);
            if (other.index < 0 || other.index == to.index)
                return QStringLiteral("%1 is already taken").arg(to.key());
        }
    }
    return {};
}
