#include "HostError.h"

namespace {
QString standardDescription(int number)
{
    switch (number) {
    case HostError::Overflow:
        return QStringLiteral("Overflow");
    case HostError::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case HostError::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case HostError::SetNotPermittedAtRunTime:
        return QStringLiteral("Set not permitted at run time");
    default:
        return QStringLiteral("Error %1").arg(number);
    }
}
} // namespace

HostError::HostError(int number, const QString &description)
    : std::runtime_error(
          (description.isEmpty() ? standardDescription(number) : description).toStdString())
    , m_number(number)
{
}
