#include "StandardPage.h"

#include "ControlProperties.h"

#include <QComboBox>
#include <QFormLayout>

StandardPage::StandardPage(const QString &caption, QMetaType kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_property(new QComboBox(this))
    , m_fields(new QFormLayout(this))
{
    setWindowTitle(caption);
    m_property->setObjectName(QStringLiteral("property"));
    m_fields->addRow(QStringLiteral("Property:"), m_property);
    connect(m_property, &QComboBox::currentIndexChanged, this, &StandardPage::showChosen);
}

void StandardPage::setChanged(bool changed)
{
    if (changed == m_changed)
        return;
    m_changed = changed;
    emit ChangedChanged(changed);
}

void StandardPage::SelectionChanged()
{
    m_rows.clear();
    m_edits.clear();
    const QList<ListedProperty> rows =
        listProperties(m_selectedControls.isEmpty() ? nullptr : m_selectedControls.first());
    for (const ListedProperty &row : rows) {
        if (row.value.metaType() == m_kind)
            m_rows.append(row);
    }
    const QString chosen = m_property->currentText();
    m_property->clear();
    m_property->addItems(properties());
    const int again = m_property->findText(chosen);
    m_property->setCurrentIndex(again >= 0 ? again : 0);
    showChosen();
}

void StandardPage::ApplyChanges()
{
    for (const ListedProperty &row : std::as_const(m_rows)) {
        const auto edited = m_edits.constFind(row.key);
        if (edited == m_edits.constEnd())
            continue;
        for (QObject *control : std::as_const(m_selectedControls)) {
            for (const ListedProperty &own : listProperties(control)) {
                if (own.key == row.key && own.value.metaType() == m_kind)
                    own.set(*edited);
            }
        }
        m_edits.erase(edited);
    }
    SelectionChanged();
}

QStringList StandardPage::properties() const
{
    QStringList keys;
    for (const ListedProperty &row : m_rows)
        keys.append(row.key);
    return keys;
}

void StandardPage::choose(const QString &key)
{
    m_property->setCurrentIndex(m_property->findText(key));
}

QVariant StandardPage::value() const
{
    const int index = m_property->currentIndex();
    if (index < 0 || index >= m_rows.size())
        return QVariant(m_kind);
    return m_edits.value(m_rows.at(index).key, m_rows.at(index).value);
}

void StandardPage::edit(const QVariant &value)
{
    const int index = m_property->currentIndex();
    if (m_showing || index < 0 || index >= m_rows.size())
        return;
    m_edits.insert(m_rows.at(index).key, value);
    setChanged(true);
}

void StandardPage::showChosen()
{
    m_showing = true;
    showValue(value());
    m_showing = false;
}
