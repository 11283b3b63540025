#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// An INI file held as its lines. Values are read as plain text: quotes, backslash escapes and
// commas are undone as the files Kelvo has always written use them, and nothing else is
// decoded ("@Variant(...)" reads as those very characters). Changing an entry rewrites that
// one line, or adds one; every other byte of the file stays as it was, whatever it holds
// (comments, other sections, keys Kelvo does not know, bytes that are not UTF-8).
//
// Sections and keys are case-sensitive and may be percent-encoded in the file ("%20" for a
// space). Where a key is in the file twice, the last one counts.
class IniDocument {
public:
    explicit IniDocument(const QByteArray &bytes = {});

    std::optional<QString> value(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &text);

    // The file's text, changed entries included.
    QByteArray bytes() const;

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        QByteArray text;    // without its line end
        QByteArray lineEnd; // "\n", "\r\n", or empty on an unterminated last line
        Kind kind = Kind::Other;
        QString name; // the section's, or the entry's key
        qsizetype valueAt = 0;
    };
    static Line parsed(QByteArray text, QByteArray lineEnd);
    // Index of the last entry with that key in that section, and of the section's last header.
    struct Found {
        qsizetype entry = -1;
        qsizetype header = -1;
    };
    Found find(const QString &section, const QString &key) const;

    QList<Line> m_lines;
};
