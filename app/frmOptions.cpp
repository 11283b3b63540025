#include "frmOptions.h"

#include "AppInfo.h"
#include "DesignedControl.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "Label.h"
#include "TextBox.h"
#include "TextConvert.h"
#include "Timer.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoOnTop.h"
#include "frmMain.h"

#include <QShortcut>

namespace {
const QString FormFileName = QStringLiteral(":/forms/frmOptions.json");
constexpr Colour ValidText = Colour::rgb(0, 0, 0);
constexpr Colour InvalidText = Colour::rgb(255, 0, 0);
} // namespace

frmOptions::frmOptions(frmMain &monitor, QWidget *parent)
    : Form(QStringLiteral("frmOptions"), parent)
    , m_monitor(monitor)
{
    connect(this, &Form::Load, this, &frmOptions::Form_Load);
    FormFile::load(*this, FormFileName, kelvoControls());
    m_txtInterval = designedControl<TextBox>(*this, FormFileName, QStringLiteral("txtInterval"));
    m_lblVersion = designedControl<Label>(*this, FormFileName, QStringLiteral("lblVersion"));
    m_lblCopyright = designedControl<Label>(*this, FormFileName, QStringLiteral("lblCopyright"));
    for (int i = 0; i < int(m_cmdAction.size()); ++i) {
        m_cmdAction[size_t(i)] =
            designedControl<ZoButton>(*this, FormFileName, QStringLiteral("cmdAction"), i);
        connect(m_cmdAction[size_t(i)], &ZoButton::Click, this, [this, i] { cmdAction_Click(i); });
    }
    connect(m_txtInterval, &TextBox::Change, this, &frmOptions::txtInterval_Change);
    // The period is named by the label before it and qualified by the unit after it.
    m_txtInterval->setAccessibleText(
        designedControl<Label>(*this, FormFileName, QStringLiteral("Label1"))->Caption(),
        designedControl<Label>(*this, FormFileName, QStringLiteral("Label2"))->Caption());
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &Form::unload);
}

std::optional<qint32> frmOptions::periodFrom(QStringView text, const QLocale &locale)
{
    const std::optional<double> number = TextConvert::toNumber(text, locale);
    if (!number)
        return std::nullopt;
    const std::optional<qint32> whole = TextConvert::roundToWhole<qint32>(*number);
    if (!whole || *whole < 0 || *whole > Timer::MaxInterval)
        return std::nullopt;
    return whole;
}

void frmOptions::Form_Load()
{
    m_lblVersion->setCaption(QStringLiteral("%1 V.%2.%3.%4")
                                 .arg(QLatin1String(App::Title))
                                 .arg(App::Major)
                                 .arg(App::Minor)
                                 .arg(App::Revision));
    // The dialog has no title bar: its title line names it.
    setAccessibleName(m_lblVersion->Caption());
    m_lblCopyright->setCaption(QString::fromUtf8(App::LegalCopyright));
    m_txtInterval->setText(QString::number(m_monitor.timMeasure()->Interval()));
    m_cmdAction[0]->setValue(m_monitor.zopOnTop()->OnTop());
}

void frmOptions::txtInterval_Change()
{
    m_txtInterval->setForeColor(periodFrom(m_txtInterval->Text(), locale()) ? ValidText
                                                                            : InvalidText);
}

void frmOptions::cmdAction_Click(int Index)
{
    switch (Index) {
    case 0:
        m_monitor.zopOnTop()->setOnTop(m_cmdAction[0]->Value());
        break;
    case 1:
        if (const std::optional<qint32> period = periodFrom(m_txtInterval->Text(), locale()))
            m_monitor.timMeasure()->setInterval(*period);
        unload();
        break;
    default:
        break;
    }
}
