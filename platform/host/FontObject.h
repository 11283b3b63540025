#pragma once

#include <QFont>
#include <QString>
#include <memory>

// A font as the controls hold and persist it. Font properties hand out and store shared
// references (FontRef), never copies: two holders of one FontRef see each other's changes.
struct FontObject {
    QString Name = QStringLiteral("MS Sans Serif");
    float Size = 8.25f; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    qint16 Charset = 0;
    qint16 Weight = 400;

    QFont toQFont() const;
    static FontObject fromQFont(const QFont &font);

    friend bool operator==(const FontObject &, const FontObject &) = default;
};

using FontRef = std::shared_ptr<FontObject>;

inline FontRef makeFont(const FontObject &font = {})
{
    return std::make_shared<FontObject>(font);
}

// Maps the classic dialog faces Kelvo's forms name onto installed metric twins; call once
// before the first form is created.
void installFontSubstitutions();
