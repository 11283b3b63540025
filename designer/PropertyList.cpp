#include "PropertyList.h"

#include "ColourPage.h"
#include "ControlProperties.h"
#include "ErrorReport.h"
#include "HostError.h"
#include "TextConvert.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMetaProperty>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {
constexpr int KeyRole = Qt::UserRole;
// The entries of a row's drop-down, "value - meaning"; none for a row typed in place.
constexpr int ChoicesRole = Qt::UserRole + 1;

template <class Int> QVariant whole(double number, const QString &text)
{
    const std::optional<Int> rounded = TextConvert::roundToWhole<Int>(number);
    if (!rounded)
        throw HostError(HostError::Overflow, QStringLiteral("%1 is not between %2 and %3")
                                                 .arg(text)
                                                 .arg(std::numeric_limits<Int>::min())
                                                 .arg(std::numeric_limits<Int>::max()));
    return QVariant::fromValue(*rounded);
}

bool editableInPlace(const QVariant &value)
{
    return holds<bool>(value) || holds<qint16>(value) || holds<qint32>(value) ||
           holds<float>(value) || holds<double>(value) || holds<QString>(value);
}

struct Enumeration {
    const char *className; // of the object's class; null for every class
    const char *key;
    QStringList entries;
};

const QList<Enumeration> &enumerations()
{
    static const QList<Enumeration> list = {
        {nullptr,
         "MousePointer",
         {"0 - Default", "1 - Arrow", "2 - Cross", "3 - I-Beam", "4 - Icon", "5 - Size",
          "6 - Size NE SW", "7 - Size N S", "8 - Size NW SE", "9 - Size W W", "10 - Up Arrow",
          "11 - Hourglass", "12 - No Drop", "13 - Arrow and Hourglass", "14 - Arrow and Question",
          "15 - Size All", "99 - Custom"}},
        {"Form",
         "BorderStyle",
         {"0 - None", "1 - Fixed Single", "2 - Sizable", "3 - Fixed Dialog",
          "4 - Fixed Tool Window", "5 - Sizable Tool Window"}},
        {"Label", "Alignment", {"0 - Left Justify", "1 - Right Justify", "2 - Center"}},
        {"ZoButton", "Alignment", {"0 - Picture Left", "1 - Picture Right", "2 - Picture on Top"}},
    };
    return list;
}

QStringList choicesFor(const QObject *object, const ListedProperty &row)
{
    if (holds<bool>(row.value))
        return {TextConvert::fromBoolean(true), TextConvert::fromBoolean(false)};
    for (const Enumeration &e : enumerations()) {
        if (row.key == QLatin1String(e.key) &&
            (!e.className || object->metaObject()->className() == QLatin1String(e.className)))
            return e.entries;
    }
    return {};
}

// The value a drop-down entry stands for: "7 - Size N S" stands for 7, "True" for itself.
QString choiceValue(const QString &entry)
{
    return entry.section(QStringLiteral(" - "), 0, 0);
}

// Drop-downs for rows with fixed entries; elsewhere a line of text as long as the value needs.
class ValueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const QStringList choices = index.data(ChoicesRole).toStringList();
        if (choices.isEmpty()) {
            QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
            if (auto *line = qobject_cast<QLineEdit *>(editor))
                line->setMaxLength(std::numeric_limits<int>::max());
            return editor;
        }
        auto *box = new QComboBox(parent);
        box->addItems(choices);
        // A choice is taken as it is made, as other designers' drop-downs do.
        connect(box, &QComboBox::activated, this, [this, box] {
            auto *self = const_cast<ValueDelegate *>(this);
            emit self->commitData(box);
            emit self->closeEditor(box);
        });
        return box;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = qobject_cast<QComboBox *>(editor);
        if (!box) {
            QStyledItemDelegate::setEditorData(editor, index);
            return;
        }
        const QString value = index.data().toString();
        for (int i = 0; i < box->count(); ++i) {
            if (choiceValue(box->itemText(i)) == value)
                box->setCurrentIndex(i);
        }
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            model->setData(index, choiceValue(box->currentText()));
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

// The object's own published property for the key, if any: its setter redraws. The toolkit's
// own properties of every widget are not the object's.
QMetaProperty publishedProperty(const QObject *object, const QString &key)
{
    const QMetaObject *meta = object->metaObject();
    const int first = object->isWidgetType() ? QWidget::staticMetaObject.propertyCount()
                                             : QObject::staticMetaObject.propertyCount();
    for (int i = first; i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (p.isWritable() && key.compare(QLatin1String(p.name()), Qt::CaseInsensitive) == 0)
            return p;
    }
    return {};
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
    setItemDelegateForColumn(1, new ValueDelegate(this));
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
    m_rows = extenderProperties(m_object) + listProperties(m_object);
    setRowCount(int(m_rows.size()));
    if (!m_object)
        return;
    const auto cell = [this](int row, int column, const QString &text, bool editable,
                             const QString &key = {}, const QStringList &choices = {}) {
        QTableWidgetItem *c = item(row, column);
        if (!c) {
            c = new QTableWidgetItem;
            setItem(row, column, c);
        }
        c->setText(text);
        c->setFlags(editable ? c->flags() | Qt::ItemIsEditable : c->flags() & ~Qt::ItemIsEditable);
        c->setData(KeyRole, key);
        c->setData(ChoicesRole, choices);
    };
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const ListedProperty &p = m_rows.at(i);
        cell(i, 0, p.key, false);
        cell(i, 1, displayText(p.value), editableInPlace(p.value), p.key, choicesFor(m_object, p));
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
    try {
        const QVariant value = parse(text, property.value);
        const QMetaProperty published = publishedProperty(m_object, key);
        if (!published.isValid() || !published.write(m_object, value))
            property.set(value);
    } catch (const HostError &e) {
        refresh();
        // The host's bare words say less than the value and the key.
        const bool bare = e.what() == std::string(HostError(e.number()).what());
        reportError(this, QStringLiteral("%1: %2").arg(
                              key, bare ? QStringLiteral("\"%1\" is not a valid value").arg(text)
                                        : QString::fromUtf8(e.what())));
        return;
    }
    refresh();
    emit edited(key);
}

QVariant PropertyList::parse(const QString &text, const QVariant &kind)
{
    if (holds<QString>(kind))
        return QVariant(text);
    if (holds<bool>(kind)) {
        const std::optional<bool> b = TextConvert::toBoolean(text);
        if (!b)
            throw HostError(HostError::TypeMismatch,
                            QStringLiteral("\"%1\" is not True or False").arg(text));
        return QVariant(*b);
    }
    const std::optional<double> number = TextConvert::toNumber(text, QLocale());
    if (!number)
        throw HostError(HostError::TypeMismatch,
                        QStringLiteral("\"%1\" is not a number").arg(text));
    if (holds<qint16>(kind))
        return whole<qint16>(*number, text);
    if (holds<qint32>(kind))
        return whole<qint32>(*number, text);
    if (holds<float>(kind)) {
        if (std::abs(*number) > double(std::numeric_limits<float>::max()))
            throw HostError(HostError::Overflow, QStringLiteral("%1 is too large").arg(text));
        return QVariant::fromValue(float(*number));
    }
    return QVariant(*number);
}

QString PropertyList::displayText(const QVariant &value)
{
    if (holds<bool>(value))
        return TextConvert::fromBoolean(value.toBool());
    if (holds<qint16>(value) || holds<qint32>(value))
        return QString::number(value.toInt());
    if (holds<float>(value) || holds<double>(value)) {
        // As the list reads it back: no digit grouping.
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return holds<float>(value)
                   ? locale.toString(value.toFloat(), 'g', QLocale::FloatingPointShortest)
                   : locale.toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
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
