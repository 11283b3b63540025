#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// A JSON value whose object members keep their order: the order they were read in, then the
// order they were added in. A value read from text remembers that text and is written back as
// it was read for as long as it is not changed, so a file opened and saved again keeps the
// layout its author gave it. What changes is written in the form files' own layout: four
// spaces a level, one member or item a line.
class JsonNode {
public:
    using Member = std::pair<QString, JsonNode>;

    JsonNode() = default; // null
    // A scalar, or a Qt object or array (whose members come in Qt's order, by name).
    JsonNode(const QJsonValue &value);
    static JsonNode object();
    static JsonNode array();
    // The value in text that QJsonDocument has read as parsed: the same structure, with the
    // order and the text of each part.
    static JsonNode read(const QByteArray &text, const QJsonValue &parsed);

    bool isObject() const { return m_kind == Kind::Object; }
    bool isArray() const { return m_kind == Kind::Array; }
    QJsonValue toJson() const;

    const std::vector<Member> &members() const { return m_members; }
    // The member of an object; null when there is none.
    const JsonNode *member(QStringView key, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
    // Gives the member this value where it stands, or adds it at the end. A member that
    // already holds an equal value keeps it, text included.
    void set(QStringView key, const JsonNode &value, Qt::CaseSensitivity cs = Qt::CaseSensitive);
    void remove(QStringView key, Qt::CaseSensitivity cs = Qt::CaseSensitive);

    const std::vector<JsonNode> &items() const { return m_items; }
    void append(const JsonNode &item);

    // The same value with members in the same order; the text read does not count.
    friend bool operator==(const JsonNode &a, const JsonNode &b);

    // The value as text, its lines indented for the given depth.
    QByteArray toText(int depth = 0) const;

private:
    enum class Kind { Scalar, Object, Array };
    friend class JsonScanner;

    qsizetype indexOf(QStringView key, Qt::CaseSensitivity cs) const;
    void writeTo(QByteArray &text, int depth) const;
    void changed() { m_source.clear(); }

    Kind m_kind = Kind::Scalar;
    QJsonValue m_scalar;
    std::vector<Member> m_members;
    std::vector<JsonNode> m_items;
    // The whole text read, shared by every part of it, and where in it this value stands.
    QByteArray m_source;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
};
