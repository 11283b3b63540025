#include "IniDocument.h"

#include <QStringList>

namespace {
bool isSpace(char32_t c)
{
    return c == u' ' || c == u'\t';
}

int hexValue(char32_t c)
{
    if (c >= u'0' && c <= u'9')
        return int(c - u'0');
    if (c >= u'a' && c <= u'f')
        return int(c - u'a') + 10;
    if (c >= u'A' && c <= u'F')
        return int(c - u'A') + 10;
    return -1;
}

// A section or key as the file writes it: letters, digits, "_-." as they are, "/" as "\",
// anything else percent-encoded.
QByteArray escapedName(const QString &name)
{
    QByteArray out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
            u == u'_' || u == u'-' || u == u'.')
            out += char(u);
        else if (u == u'/')
            out += '\\';
        else if (u <= 0xff)
            out += '%' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(u, 16).toUpper().rightJustified(4, '0');
    }
    return out;
}

QString unescapedName(const QByteArray &raw)
{
    const QString text = QString::fromUtf8(raw).trimmed();
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            out += u'/';
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < text.size() && text[i + 1] == u'U';
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype from = i + 1 + (wide ? 1 : 0);
            int code = 0;
            bool ok = from + digits <= text.size();
            for (qsizetype d = 0; ok && d < digits; ++d) {
                const int v = hexValue(text[from + d].unicode());
                ok = v >= 0;
                code = code * 16 + v;
            }
            if (ok) {
                out += QChar(char16_t(code));
                i = from + digits - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Quotes and escapes so that the text reads back exactly; the words and numbers Kelvo keeps
// need neither and are written bare.
QByteArray escapedValue(const QString &text)
{
    QString out;
    bool quoted =
        !text.isEmpty() && (isSpace(text.front().unicode()) || isSpace(text.back().unicode()));
    if (text.startsWith(u'@'))
        out += u'@'; // "@@" reads as one "@"
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
            out += u"\\\\";
            break;
        case u'"':
            out += u"\\\"";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        case u';':
        case u',':
        case u'=':
        case u'#':
            quoted = true;
            out += c;
            break;
        default:
            if (u < 0x20 || u == 0x7f) // three octal digits, so that a digit after it stays one
                out += u'\\' + QString::number(u, 8).rightJustified(3, u'0');
            else
                out += c;
        }
    }
    const QByteArray utf8 = out.toUtf8();
    return quoted ? '"' + utf8 + '"' : utf8;
}

// Reads what escapedValue writes, and what people write by hand: a ";" outside quotes starts a
// comment, unquoted commas part a list (given back as "a, b"), spaces outside quotes around
// each part go.
QString unescapedValue(const QByteArray &raw)
{
    const QString text = QString::fromUtf8(raw);
    QStringList parts;
    QString part;
    qsizetype kept = 0; // part's length up to its last quoted or non-space character
    bool inQuotes = false;
    const auto endPart = [&] {
        part.truncate(kept);
        parts.append(part);
        part.clear();
        kept = 0;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            inQuotes = !inQuotes;
            kept = part.size();
            continue;
        }
        if (!inQuotes && c == u';')
            break;
        if (!inQuotes && c == u',') {
            endPart();
            continue;
        }
        if (!inQuotes && isSpace(c.unicode())) {
            if (!part.isEmpty())
                part += c;
            continue;
        }
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar e = text[++i];
            switch (e.unicode()) {
            case u'a':
                part += u'\a';
                break;
            case u'b':
                part += u'\b';
                break;
            case u'f':
                part += u'\f';
                break;
            case u'n':
                part += u'\n';
                break;
            case u'r':
                part += u'\r';
                break;
            case u't':
                part += u'\t';
                break;
            case u'v':
                part += u'\v';
                break;
            case u'x': {
                char32_t code = 0;
                int digits = 0;
                while (i + 1 < text.size() && digits < 4 && hexValue(text[i + 1].unicode()) >= 0) {
                    code = code * 16 + char32_t(hexValue(text[++i].unicode()));
                    ++digits;
                }
                part += QChar(char16_t(code));
                break;
            }
            default:
                if (e >= u'0' && e <= u'7') {
                    char32_t code = char32_t(e.unicode() - u'0');
                    for (int digits = 1; digits < 3 && i + 1 < text.size() && text[i + 1] >= u'0' &&
                                         text[i + 1] <= u'7';
                         ++digits)
                        code = code * 8 + char32_t(text[++i].unicode() - u'0');
                    part += QChar(char16_t(code));
                } else {
                    part += e; // \\, \", \' and any other character stand for themselves
                }
            }
            kept = part.size();
            continue;
        }
        part += c;
        kept = part.size();
    }
    endPart();
    QString value = parts.join(u", ");
    if (value.startsWith(u"@@"))
        value.remove(0, 1);
    return value;
}
} // namespace

IniDocument::IniDocument(const QByteArray &bytes)
{
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', from);
        const qsizetype end = newline < 0 ? bytes.size() : newline;
        const qsizetype textEnd =
            newline >= 0 && end > from && bytes[end - 1] == '\r' ? end - 1 : end;
        m_lines.append(parsed(bytes.sliced(from, textEnd - from),
                              bytes.sliced(textEnd, (newline < 0 ? end : end + 1) - textEnd)));
        from = newline < 0 ? bytes.size() : newline + 1;
    }
}

IniDocument::Line IniDocument::parsed(QByteArray text, QByteArray lineEnd)
{
    Line line;
    line.text = std::move(text);
    line.lineEnd = std::move(lineEnd);
    const QByteArray trimmed = line.text.trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = unescapedName(trimmed.sliced(1, close - 1));
        }
        return line;
    }
    if (trimmed.startsWith(';') || trimmed.startsWith('#'))
        return line;
    const qsizetype equals = line.text.indexOf('=');
    if (equals < 0)
        return line;
    line.name = unescapedName(line.text.first(equals));
    if (line.name.isEmpty())
        return line;
    line.kind = Kind::Entry;
    line.valueAt = equals + 1;
    return line;
}

IniDocument::Found IniDocument::find(const QString &section, const QString &key) const
{
    Found found;
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section) {
            inSection = line.name == section;
            if (inSection)
                found.header = i;
        } else if (inSection && line.kind == Kind::Entry && line.name == key) {
            found.entry = i;
        }
    }
    return found;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const Found found = find(section, key);
    if (found.entry < 0)
        return std::nullopt;
    const Line &line = m_lines[found.entry];
    return unescapedValue(line.text.sliced(line.valueAt));
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &text)
{
    const QByteArray entry = escapedName(key) + '=' + escapedValue(text);
    const Found found = find(section, key);
    if (found.entry >= 0) {
        Line &line = m_lines[found.entry];
        line = parsed(entry, line.lineEnd.isEmpty() ? QByteArray("\n") : line.lineEnd);
        return;
    }
    // The line end the file already uses.
    const QByteArray lineEnd =
        !m_lines.isEmpty() && m_lines.front().lineEnd == "\r\n" ? "\r\n" : "\n";
    if (!m_lines.isEmpty() && m_lines.back().lineEnd.isEmpty())
        m_lines.back().lineEnd = lineEnd;
    if (found.header >= 0) {
        // After the last entry of the section's last block, or right after its header.
        qsizetype at = found.header + 1;
        for (qsizetype i = at; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i) {
            if (m_lines[i].kind == Kind::Entry)
                at = i + 1;
        }
        m_lines.insert(at, parsed(entry, lineEnd));
        return;
    }
    if (!m_lines.isEmpty() && !m_lines.back().text.trimmed().isEmpty())
        m_lines.append(parsed({}, lineEnd));
    m_lines.append(parsed('[' + escapedName(section) + ']', lineEnd));
    m_lines.append(parsed(entry, lineEnd));
}

QByteArray IniDocument::bytes() const
{
    QByteArray out;
    for (const Line &line : m_lines)
        out += line.text + line.lineEnd;
    return out;
}
