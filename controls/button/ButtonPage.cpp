#include "ButtonPage.h"

#include "HostError.h"
#include "Screen.h"
#include "TextConvert.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <limits>

namespace {
// The page and its fields, in twips.
constexpr int PageWidth = 5925;
constexpr int PageHeight = 3495;

struct Place {
    int left, top, width, height;
};

// Item data is the pointer shape an entry stands for.
struct PointerEntry {
    const char *text;
    int shape;
};
constexpr PointerEntry pointerEntries[] = {
    {"0 - Default", 0},
    {"1 - Arrow", 1},
    {"2 - Cross", 2},
    {"3 - I-Beam", 3},
    {"4 - Icon", 4},
    {"5 - Size", 5},
    {"6 - Size NE SW", 6},
    {"7 - Size N S", 7},
    {"8 - Size NW SE", 8},
    {"9 - Size W W", 9},
    {"10 - Up Arrow", 10},
    {"11 - Hourglass", 11},
    {"12 - No Drop", 12},
    {"13 - Arrow and Hourglass", 13},
    {"14 - Arrow and Question", 14},
    {"15 - Size All", 15},
    {"99 - Custom", 99},
};

template <class Field> Field *place(Field *field, const char *name, Place at)
{
    field->setObjectName(QLatin1String(name));
    field->setGeometry(Screen::toPixelsX(at.left), Screen::toPixelsY(at.top),
                       Screen::toPixelsX(at.width), Screen::toPixelsY(at.height));
    return field;
}

// A number as a person types it into the field, rounded to a whole one as a 16-bit property
// takes it.
qint16 wholeNumber(const QString &text, const QString &field)
{
    const std::optional<double> number = TextConvert::toNumber(text, QLocale());
    if (!number)
        throw HostError(HostError::TypeMismatch,
                        QStringLiteral("%1: \"%2\" is not a number").arg(field, text));
    const std::optional<qint16> whole = TextConvert::roundToWhole<qint16>(*number);
    if (!whole)
        throw HostError(HostError::Overflow,
                        QStringLiteral("%1: %2 is not between -32768 and 32767").arg(field, text));
    return *whole;
}
} // namespace

// The fields are created in tab order, which the focus chain follows.
ButtonPage::ButtonPage(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Button"));
    setFixedSize(Screen::toPixelsX(PageWidth), Screen::toPixelsY(PageHeight));

    place(new QLabel(QStringLiteral("MousePointer:"), this), "lblMousePointer(0)",
          {90, 135, 2700, 240});
    place(new QLabel(QStringLiteral("Caption:"), this), "lblCaption", {90, 770, 2700, 240});
    txtCaption = place(new QLineEdit(this), "txtCaption", {90, 1020, 2700, 330});
    place(new QLabel(QStringLiteral("Delta:"), this), "lblDelta", {90, 1420, 2700, 240});
    txtDelta = place(new QLineEdit(this), "txtDelta", {90, 1670, 2700, 330});
    place(new QLabel(QStringLiteral("Alignment:"), this), "lblAlignment", {90, 2070, 2700, 240});
    txtAlignment = place(new QLineEdit(this), "txtAlignment", {90, 2320, 2700, 330});
    cboMouse = place(new QComboBox(this), "cboMouse", {90, 405, 2700, 315});
    place(new QLabel(QStringLiteral("Tool tip text:"), this), "lblMousePointer(1)",
          {90, 2720, 2700, 240});
    txtToolTopText = place(new QLineEdit(this), "txtToolTopText", {90, 2970, 2700, 330});
    chkSwitch =
        place(new QCheckBox(QStringLiteral("Switch"), this), "chkSwitch", {3000, 120, 2700, 285});
    chkValue =
        place(new QCheckBox(QStringLiteral("Value"), this), "chkValue", {3000, 770, 2700, 285});

    for (const PointerEntry &entry : pointerEntries)
        cboMouse->addItem(QLatin1String(entry.text), entry.shape);

    // A field holds the property's whole text: the toolkit's own limit would cut a long
    // caption or tool tip, and applying would store the cut text.
    for (QLineEdit *text : {txtCaption, txtDelta, txtAlignment, txtToolTopText}) {
        text->setMaxLength(std::numeric_limits<int>::max());
        connect(text, &QLineEdit::textChanged, this, &ButtonPage::markChanged);
    }
    for (QCheckBox *check : {chkSwitch, chkValue})
        connect(check, &QCheckBox::stateChanged, this, &ButtonPage::markChanged);
    connect(cboMouse, &QComboBox::currentIndexChanged, this, &ButtonPage::markChanged);
}

void ButtonPage::setChanged(bool changed)
{
    if (changed == m_changed)
        return;
    m_changed = changed;
    emit ChangedChanged(changed);
}

QObject *ButtonPage::firstSelected() const
{
    return m_selectedControls.isEmpty() ? nullptr : m_selectedControls.first();
}

void ButtonPage::SelectionChanged()
{
    const QObject *c = firstSelected();
    if (!c)
        return;
    chkValue->setCheckState(c->property("Value").toInt() & 1 ? Qt::Checked : Qt::Unchecked);
    chkSwitch->setCheckState(c->property("Switch").toInt() & 1 ? Qt::Checked : Qt::Unchecked);
    txtAlignment->setText(QString::number(c->property("Alignment").toInt()));
    txtDelta->setText(QString::number(c->property("DELTA").toInt()));
    txtCaption->setText(c->property("Caption").toString());
    txtToolTopText->setText(c->property("ToolTipText").toString());
    SetPointerIndex(c->property("MousePointer").toInt());
}

void ButtonPage::ApplyChanges()
{
    QObject *c = firstSelected();
    if (!c)
        return;
    const qint16 alignment = wholeNumber(txtAlignment->text(), QStringLiteral("Alignment"));
    const qint16 delta = wholeNumber(txtDelta->text(), QStringLiteral("Delta"));
    c->setProperty("Value", chkValue->checkState() == Qt::Checked);
    c->setProperty("Switch", chkSwitch->checkState() == Qt::Checked);
    c->setProperty("Alignment", QVariant::fromValue(alignment));
    c->setProperty("DELTA", QVariant::fromValue(delta));
    c->setProperty("Caption", ConvertCaption(txtCaption->text()));
    c->setProperty("MousePointer", QVariant::fromValue(qint16(cboMouse->currentData().toInt())));
    c->setProperty("ToolTipText", txtToolTopText->text());
}

QString ButtonPage::ConvertCaption(const QString &text)
{
    QString caption = text;
    caption.replace(QLatin1Char('^'), QLatin1Char('\r'));
    return caption;
}

void ButtonPage::SetPointerIndex(int pointer)
{
    const int entry = cboMouse->findData(pointer);
    cboMouse->setCurrentIndex(entry >= 0 ? entry : cboMouse->count() - 1);
}

// The page's meta-object is built into this file's own object, not into the library's shared
// one: the program, which never shows the page, then links none of it.
#include "moc_ButtonPage.cpp"
