#include "PropertyList.h"

#include "ColourPage.h"
#include "ControlProperties.h"
#include "ErrorReport.h"
#include "TextConvert.h"

#include <QHeaderView>
#include <QLocale>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {
constexpr int KeyRole = Qt::UserRole;

template <class Int> std::optional<QVariant> whole(double number)
{
    const double rounded = std::nearbyint(number);
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return QVariant::fromValue(Int(rounded));
}

// The text read as a value of the same kind as the one given; nothing when it does not read.
std::optional<QVariant> parse(const QString &text, const QVariant &kind)
{
    if (holds<QString>(kind))
        return QVariant(text);
    if (holds<bool>(kind)) {
        const std::optional<bool> b = TextConvert::toBoolean(text);
        return b ? std::optional<QVariant>(QVariant(*b)) : std::nullopt;
    }
    const std::optional<double> number = TextConvert::toNumber(text, QLocale());
    if (!number)
        return std::nullopt;
    if (holds<qint16>(kind))
        return whole<qint16>(*number);
    if (holds<qint32>(kind))
        return whole<qint32>(*number);
    if (holds<float>(kind) && std::abs(*number) <= double(std::numeric_limits<float>::max()))
        return QVariant::fromValue(float(*number));
    return std::nullopt;
}

bool editableInPlace(const QVariant &value)
{
    return holds<bool>(value) || holds<qint16>(value) || holds<qint32>(value) ||
           holds<float>(value) || holds<QString>(value);
}
} // namespace

PropertyList::PropertyList(QWidget *parent)
    : QTableWidget(0, 2, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTableWidget::itemChanged, this, &PropertyList::commit);
    connect(this, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem *item) {
        if (!(item->flags() & Qt::ItemIsEditable))
            emit pagesRequested();
    });
}

void PropertyList::showObject(QObject *object)
{
    m_object = object;
    refresh();
}

// Cells are reused, so that the cell whose edit is being committed outlives the refresh.
void PropertyList::refresh()
{
    const QSignalBlocker quiet(this);
    m_rows = listProperties(m_object);
    setRowCount(m_object ? int(m_rows.size()) + 1 : 0);
    if (!m_object)
        return;
    const auto cell = [this](int row, int column, const QString &text, bool editable,
                             const QString &key = {}) {
        QTableWidgetItem *c = item(row, column);
        if (!c) {
            c = new QTableWidgetItem;
            setItem(row, column, c);
        }
        c->setText(text);
        c->setFlags(editable ? c->flags() | Qt::ItemIsEditable : c->flags() & ~Qt::ItemIsEditable);
        c->setData(KeyRole, key);
    };
    cell(0, 0, QStringLiteral("(Name)"), false);
    cell(0, 1, m_object->objectName(), false);
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const ListedProperty &p = m_rows.at(i);
        cell(i + 1, 0, p.key, false);
        cell(i + 1, 1, displayText(p.value), editableInPlace(p.value), p.key);
    }
}

void PropertyList::commit(QTableWidgetItem *item)
{
    const QString key = item->data(KeyRole).toString();
    const auto row = std::find_if(m_rows.cbegin(), m_rows.cend(),
                                  [&](const ListedProperty &p) { return p.key == key; });
    if (!m_object || row == m_rows.cend())
        return;
    const ListedProperty property = *row;
    const QString text = item->text();
    const std::optional<QVariant> value = parse(text, property.value);
    try {
        if (!value)
            throw HostError(HostError::InvalidPropertyValue);
        property.set(*value);
    } catch (const HostError &e) {
        refresh();
        reportError(this,
                    QStringLiteral("%1: \"%2\": %3").arg(key, text, QString::fromUtf8(e.what())));
        return;
    }
    refresh();
    emit edited(key);
}

QString PropertyList::displayText(const QVariant &value)
{
    if (holds<bool>(value))
        return TextConvert::fromBoolean(value.toBool());
    if (holds<qint16>(value) || holds<qint32>(value))
        return QString::number(value.toInt());
    if (holds<float>(value)) {
        // As the list reads it back: no digit grouping.
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(value.toFloat(), 'g', QLocale::FloatingPointShortest);
    }
    if (holds<Colour>(value))
        return ColourPage::describe(value.value<Colour>());
    if (holds<FontRef>(value)) {
        const FontRef font = value.value<FontRef>();
        if (!font)
            return QStringLiteral("(none)");
        QString text = QStringLiteral("%1, %2 pt").arg(font->Name, QLocale().toString(font->Size));
        for (const auto &[on, word] : {std::pair{font->Bold, "bold"},
                                       {font->Italic, "italic"},
                                       {font->Underline, "underline"},
                                       {font->Strikethrough, "strike-through"}}) {
            if (on)
                text += QStringLiteral(", ") + QLatin1String(word);
        }
        return text;
    }
    if (holds<PictureRef>(value)) {
        const PictureRef picture = value.value<PictureRef>();
        return isEmptyPicture(picture) ? QStringLiteral("(none)")
                                       : QStringLiteral("(picture %1 x %2)")
                                             .arg(picture->width())
                                             .arg(picture->height());
    }
    return value.toString();
}
