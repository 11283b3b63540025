#pragma once

#include <QString>
#include <stdexcept>

// A failure raised to the caller of a property or method, carrying the error number that a
// form's code can test for.
class HostError : public std::runtime_error {
public:
    enum Number {
        Overflow = 6,
        TypeMismatch = 13,
        InvalidPropertyValue = 380,
        SetNotPermittedAtRunTime = 393,
    };

    explicit HostError(int number, const QString &description = {});

    int number() const noexcept { return m_number; }

private:
    int m_number;
};
