#include "JsonNode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// Walks text that QJsonDocument has accepted, beside the values it read from it: the text gives
// the order and where each part stands, the values give what the parts hold.
class JsonScanner {
public:
    explicit JsonScanner(const QByteArray &text)
        : m_text(text)
    {
    }

    JsonNode value(const QJsonValue &parsed)
    {
        skipSpace();
        JsonNode node;
        node.m_source = m_text;
        node.m_begin = m_at;
        switch (peek()) {
        case '{':
            node.m_kind = JsonNode::Kind::Object;
            readObject(node, parsed.toObject());
            break;
        case '[':
            node.m_kind = JsonNode::Kind::Array;
            readArray(node, parsed.toArray());
            break;
        case '"':
            node.m_scalar = parsed;
            skipString();
            break;
        default:
            node.m_scalar = parsed;
            while (isScalarChar(peek()))
                ++m_at;
        }
        node.m_end = m_at;
        return node;
    }

private:
    static bool isScalarChar(char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-' || c == '+' ||
               c == '.' || c == 'E';
    }

    char peek() const { return m_at < m_text.size() ? m_text.at(m_at) : '\0'; }

    void skipSpace()
    {
        while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')
            ++m_at;
    }

    // After a separator or a closing bracket: whether another member or item follows.
    bool more(char close)
    {
        skipSpace();
        if (peek() == ',') {
            ++m_at;
            return true;
        }
        if (peek() == close)
            ++m_at;
        return false;
    }

    void skipString()
    {
        ++m_at;
        while (m_at < m_text.size() && m_text.at(m_at) != '"')
            m_at += m_text.at(m_at) == '\\' ? 2 : 1;
        ++m_at;
    }

    QString key()
    {
        const qsizetype begin = m_at;
        skipString();
        const QByteArray quoted = m_text.mid(begin, m_at - begin);
        if (!quoted.contains('\\'))
            return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
        return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
    }

    void readObject(JsonNode &node, const QJsonObject &parsed)
    {
        ++m_at;
        skipSpace();
        if (peek() == '}') {
            ++m_at;
            return;
        }
        do {
            skipSpace();
            QString name = key();
            skipSpace();
            ++m_at; // ':'
            JsonNode member = value(parsed.value(name));
            // A name given twice holds its last value, as QJsonDocument reads it.
            if (const qsizetype earlier = node.indexOf(name, Qt::CaseSensitive); earlier >= 0)
                node.m_members.erase(node.m_members.begin() + earlier);
            node.m_members.emplace_back(std::move(name), std::move(member));
        } while (more('}') && m_at < m_text.size());
    }

    void readArray(JsonNode &node, const QJsonArray &parsed)
    {
        ++m_at;
        skipSpace();
        if (peek() == ']') {
            ++m_at;
            return;
        }
        do {
            node.m_items.push_back(value(parsed.at(qsizetype(node.m_items.size()))));
        } while (more(']') && m_at < m_text.size());
    }

    const QByteArray &m_text;
    qsizetype m_at = 0;
};

namespace {
QByteArray scalarText(const QJsonValue &value)
{
    const QByteArray list = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2);
}

QByteArray indent(int depth)
{
    return QByteArray(4 * depth, ' ');
}
} // namespace

JsonNode::JsonNode(const QJsonValue &value)
{
    if (value.isObject()) {
        m_kind = Kind::Object;
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            m_members.emplace_back(it.key(), JsonNode(it.value()));
    } else if (value.isArray()) {
        m_kind = Kind::Array;
        for (const QJsonValue &item : value.toArray())
            m_items.emplace_back(item);
    } else {
        m_scalar = value;
    }
}

JsonNode JsonNode::object()
{
    JsonNode node;
    node.m_kind = Kind::Object;
    return node;
}

JsonNode JsonNode::array()
{
    JsonNode node;
    node.m_kind = Kind::Array;
    return node;
}

JsonNode JsonNode::read(const QByteArray &text, const QJsonValue &parsed)
{
    return JsonScanner(text).value(parsed);
}

QJsonValue JsonNode::toJson() const
{
    switch (m_kind) {
    case Kind::Object: {
        QJsonObject o;
        for (const Member &m : m_members)
            o.insert(m.first, m.second.toJson());
        return o;
    }
    case Kind::Array: {
        QJsonArray a;
        for (const JsonNode &item : m_items)
            a.append(item.toJson());
        return a;
    }
    case Kind::Scalar:
        break;
    }
    return m_scalar;
}

qsizetype JsonNode::indexOf(QStringView key, Qt::CaseSensitivity cs) const
{
    for (size_t i = 0; i < m_members.size(); ++i) {
        if (QStringView(m_members[i].first).compare(key, cs) == 0)
            return qsizetype(i);
    }
    return -1;
}

const JsonNode *JsonNode::member(QStringView key, Qt::CaseSensitivity cs) const
{
    const qsizetype i = indexOf(key, cs);
    return i < 0 ? nullptr : &m_members[size_t(i)].second;
}

void JsonNode::set(QStringView key, const JsonNode &value, Qt::CaseSensitivity cs)
{
    const qsizetype i = indexOf(key, cs);
    if (i >= 0 && m_members[size_t(i)].second == value)
        return;
    if (i >= 0)
        m_members[size_t(i)].second = value;
    else
        m_members.emplace_back(key.toString(), value);
    changed();
}

void JsonNode::remove(QStringView key, Qt::CaseSensitivity cs)
{
    const qsizetype i = indexOf(key, cs);
    if (i < 0)
        return;
    m_members.erase(m_members.begin() + i);
    changed();
}

void JsonNode::append(const JsonNode &item)
{
    m_items.push_back(item);
    changed();
}

bool operator==(const JsonNode &a, const JsonNode &b)
{
    return a.m_kind == b.m_kind && a.m_scalar == b.m_scalar && a.m_members == b.m_members &&
           a.m_items == b.m_items;
}

QByteArray JsonNode::toText(int depth) const
{
    QByteArray text;
    writeTo(text, depth);
    return text;
}

void JsonNode::writeTo(QByteArray &text, int depth) const
{
    if (!m_source.isNull()) {
        text.append(QByteArrayView(m_source).sliced(m_begin, m_end - m_begin));
        return;
    }
    if (m_kind == Kind::Scalar) {
        text += scalarText(m_scalar);
        return;
    }
    const bool isObject = m_kind == Kind::Object;
    const size_t count = isObject ? m_members.size() : m_items.size();
    text += isObject ? '{' : '[';
    for (size_t i = 0; i < count; ++i) {
        text += '\n' + indent(depth + 1);
        if (isObject) {
            text += scalarText(m_members[i].first) + ": ";
            m_members[i].second.writeTo(text, depth + 1);
        } else {
            m_items[i].writeTo(text, depth + 1);
        }
        if (i + 1 < count)
            text += ',';
    }
    if (count > 0)
        text += '\n' + indent(depth);
    text += isObject ? '}' : ']';
}
