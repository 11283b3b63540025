#include "ZoButton.h"

#include "ButtonFace.h"
#include "ButtonLayout.h"
#include "Desktop.h"
#include "HostError.h"
#include "Screen.h"
#include "ZoButtonAccessible.h"

#include <QTextBoundaryFinder>
#include <QThread>
#include <cmath>
#include <optional>

namespace {
constexpr int CaptureInterval = 100;          // ms between checks that the pointer is still here
constexpr unsigned long AutoClickPause = 125; // ms the pressed look stays
} // namespace

ZoButton::ZoButton(QWidget *container)
    : UserControl(container)
    , timCapture(this)
    , picButton(new ButtonFace(this))
{
    ZoButtonAccessible::install();
    timCapture.setObjectName(QStringLiteral("timCapture"));
    timCapture.setInterval(CaptureInterval);
    connect(&timCapture, &QTimer::timeout, this, &ZoButton::timCapture_Timer);

    setFocusProxy(picButton);
    connect(picButton, &ButtonFace::mouseDown, this, &ZoButton::picButton_MouseDown);
    connect(picButton, &ButtonFace::mouseMove, this, &ZoButton::picButton_MouseMove);
    connect(picButton, &ButtonFace::mouseUp, this, &ZoButton::picButton_MouseUp);
    connect(picButton, &ButtonFace::lostFocus, this, &ZoButton::picButton_LostFocus);
    connect(picButton, &ButtonFace::keyPress, this, &ZoButton::KeyPress, Qt::DirectConnection);

    picBuffer.setBackColor(picButton->BackColor());
    picBuffer.setForeColor(picButton->ForeColor());
    picBuffer.setFont(*picButton->Font());
}

// The face outlives this class's members (QWidget deletes it later); it must not report a
// focus change into a half-destroyed button.
ZoButton::~ZoButton()
{
    picButton->disconnect(this);
}

// --- Properties ---

Colour ZoButton::BackColor() const
{
    return picButton->BackColor();
}

void ZoButton::setBackColor(Colour New_BackColor)
{
    setSurfaceBackColor(New_BackColor);
    Refresh();
    PropertyChanged(QStringLiteral("BackColor"));
}

FontRef ZoButton::Font() const
{
    return picButton->Font();
}

void ZoButton::setFont(const FontRef &New_Font)
{
    picButton->setFont(New_Font);
    picBuffer.setFont(*picButton->Font());
    Refresh();
    PropertyChanged(QStringLiteral("Font"));
}

Colour ZoButton::ForeColor() const
{
    return picButton->ForeColor();
}

void ZoButton::setForeColor(Colour New_ForeColor)
{
    setSurfaceForeColor(New_ForeColor);
    Refresh();
    PropertyChanged(QStringLiteral("ForeColor"));
}

PictureRef ZoButton::MouseIcon() const
{
    return picButton->MouseIcon();
}

void ZoButton::setMouseIcon(const PictureRef &New_MouseIcon)
{
    picButton->setMouseIcon(New_MouseIcon);
    PropertyChanged(QStringLiteral("MouseIcon"));
}

qint16 ZoButton::MousePointer() const
{
    return picButton->MousePointer();
}

void ZoButton::setMousePointer(qint16 New_MousePointer)
{
    picButton->setMousePointer(New_MousePointer);
    PropertyChanged(QStringLiteral("MousePointer"));
}

void ZoButton::setPicture(const PictureRef &New_Picture)
{
    imgPicture = New_Picture;
    Refresh();
    PropertyChanged(QStringLiteral("Picture"));
}

void ZoButton::setCaption(const QString &New_Caption)
{
    m_Caption = New_Caption;
    Refresh();
    PropertyChanged(QStringLiteral("Caption"));
}

void ZoButton::setDELTA(qint16 New_DELTA)
{
    m_Delta = New_DELTA;
    Refresh();
    PropertyChanged(QStringLiteral("Delta"));
}

void ZoButton::setLightBorderColor(Colour New_LightBorderColor)
{
    m_LightBorderColor = New_LightBorderColor;
    PropertyChanged(QStringLiteral("LightBorderColor"));
}

void ZoButton::setDarkBorderColor(Colour New_DarkBorderColor)
{
    m_DarkBorderColor = New_DarkBorderColor;
    PropertyChanged(QStringLiteral("DarkBorderColor"));
}

void ZoButton::setAlignment(qint16 New_Alignment)
{
    refuseAtRunTime();
    m_Alignment = New_Alignment;
    Refresh();
    PropertyChanged(QStringLiteral("Alignment"));
}

void ZoButton::setSelectedPicture(const PictureRef &New_SelectedPicture)
{
    imgSelected = New_SelectedPicture;
    PropertyChanged(QStringLiteral("SelectedPicture"));
}

void ZoButton::setPressedPicture(const PictureRef &New_PressedPicture)
{
    imgPressed = New_PressedPicture;
    PropertyChanged(QStringLiteral("PressedPicture"));
}

void ZoButton::setFontSelected(const FontRef &New_FontSelected)
{
    m_FontSelected = New_FontSelected;
    PropertyChanged(QStringLiteral("FontSelected"));
}

void ZoButton::setFontPressed(const FontRef &New_FontPressed)
{
    m_FontPressed = New_FontPressed;
    PropertyChanged(QStringLiteral("FontPressed"));
}

void ZoButton::setForeColorSelected(Colour New_ForeColorSelected)
{
    m_ForeColorSelected = New_ForeColorSelected;
    PropertyChanged(QStringLiteral("ForeColorSelected"));
}

void ZoButton::setForeColorPressed(Colour New_ForeColorPressed)
{
    m_ForeColorPressed = New_ForeColorPressed;
    PropertyChanged(QStringLiteral("ForeColorPressed"));
}

void ZoButton::setSwitch(bool New_Switch)
{
    refuseAtRunTime();
    m_Switch = New_Switch;
    PropertyChanged(QStringLiteral("Switch"));
}

void ZoButton::setValue(bool New_Value)
{
    m_Value = New_Value;
    ZoButtonAccessible::valueChanged(this);
    PropertyChanged(QStringLiteral("Value"));
}

void ZoButton::setShift(qint16 New_Shift)
{
    refuseAtRunTime();
    m_Shift = New_Shift;
    PropertyChanged(QStringLiteral("Shift"));
}

QString ZoButton::ToolTipText() const
{
    return picButton->ToolTipText();
}

void ZoButton::setToolTipText(const QString &New_ToolTipText)
{
    picButton->setToolTipText(New_ToolTipText);
    PropertyChanged(QStringLiteral("ToolTipText"));
}

void ZoButton::setRows(qint16 New_Rows)
{
    m_Rows = New_Rows;
    PropertyChanged(QStringLiteral("Rows"));
}

void ZoButton::setCols(qint16 New_Cols)
{
    m_Cols = New_Cols;
    PropertyChanged(QStringLiteral("Cols"));
}

void ZoButton::setSurfaceBackColor(Colour colour)
{
    picButton->setBackColor(colour);
    picBuffer.setBackColor(picButton->BackColor());
}

void ZoButton::setSurfaceForeColor(Colour colour)
{
    picButton->setForeColor(colour);
    picBuffer.setForeColor(picButton->ForeColor());
}

void ZoButton::refuseAtRunTime() const
{
    if (Ambient().UserMode())
        throw HostError(HostError::SetNotPermittedAtRunTime);
}

// --- Host entry points ---

void ZoButton::Initialize()
{
    m_TwipsPerPixelX = int(std::lround(Screen::TwipsPerPixelX()));
    m_TwipsPerPixelY = int(std::lround(Screen::TwipsPerPixelY()));
    // Where a new face stands is up to the button; covering the control from the start gives
    // the first drawing the control's own extent.
    picButton->setGeometry(rect());
}

void ZoButton::InitProperties()
{
    m_Caption = QStringLiteral("ZoButton");
    m_Delta = 45;
    m_LightBorderColor = Colour(0x00FFFFFF);
    m_DarkBorderColor = Colour(0x00808080);
    m_Alignment = 0;
    m_FontSelected = Ambient().Font();
    m_FontPressed = Ambient().Font();
    m_ForeColorSelected = Colour(0);
    m_ForeColorPressed = Colour(0);
    m_Switch = false;
    m_Value = false;
    m_Shift = 15;
    m_Rows = 16;
    m_Cols = 24;
}

const PropertyTable<ZoButton> &ZoButton::properties()
{
    static const PropertyTable<ZoButton> table = [] {
        const auto ambientFont = [](const ZoButton &b) { return b.Ambient().Font(); };
        PropertyTable<ZoButton> t;
        t.add(
             QStringLiteral("AutoRedraw"), false,
             [](const ZoButton &b) { return b.picButton->AutoRedraw(); },
             [](ZoButton &b, bool on) { b.picButton->setAutoRedraw(on); })
            .add(QStringLiteral("BackColor"), Colour::system(SystemColour::ButtonFace),
                 &ZoButton::BackColor, &ZoButton::setSurfaceBackColor)
            .addWithDefault(QStringLiteral("Font"), ambientFont, &ZoButton::Font,
                            &ZoButton::setFont)
            .add(QStringLiteral("ForeColor"), Colour::system(SystemColour::ButtonText),
                 &ZoButton::ForeColor, &ZoButton::setSurfaceForeColor)
            .add(QStringLiteral("MouseIcon"), PictureRef(), &ZoButton::MouseIcon,
                 &ZoButton::setMouseIcon)
            .add(QStringLiteral("MousePointer"), qint16(0), &ZoButton::MousePointer,
                 [](ZoButton &b, qint16 shape) { b.picButton->setMousePointer(shape); })
            .add(QStringLiteral("Picture"), PictureRef(), &ZoButton::Picture, &ZoButton::setPicture)
            .add(QStringLiteral("Caption"), QStringLiteral("ZoButton"), &ZoButton::Caption,
                 [](ZoButton &b, const QString &s) { b.m_Caption = s; })
            .add(QStringLiteral("Delta"), qint16(45), &ZoButton::DELTA,
                 [](ZoButton &b, qint16 v) { b.m_Delta = v; })
            .add(QStringLiteral("LightBorderColor"), Colour(0x00FFFFFF),
                 &ZoButton::LightBorderColor,
                 [](ZoButton &b, Colour c) { b.m_LightBorderColor = c; })
            .add(QStringLiteral("DarkBorderColor"), Colour(0x00808080), &ZoButton::DarkBorderColor,
                 [](ZoButton &b, Colour c) { b.m_DarkBorderColor = c; })
            .add(QStringLiteral("Alignment"), qint16(0), &ZoButton::Alignment,
                 [](ZoButton &b, qint16 v) { b.m_Alignment = v; })
            .add(QStringLiteral("SelectedPicture"), PictureRef(), &ZoButton::SelectedPicture,
                 [](ZoButton &b, const PictureRef &p) { b.imgSelected = p; })
            .add(QStringLiteral("PressedPicture"), PictureRef(), &ZoButton::PressedPicture,
                 [](ZoButton &b, const PictureRef &p) { b.imgPressed = p; })
            .addWithDefault(QStringLiteral("FontSelected"), ambientFont, &ZoButton::FontSelected,
                            [](ZoButton &b, const FontRef &f) { b.m_FontSelected = f; })
            .addWithDefault(QStringLiteral("FontPressed"), ambientFont, &ZoButton::FontPressed,
                            [](ZoButton &b, const FontRef &f) { b.m_FontPressed = f; })
            .add(QStringLiteral("ForeColorSelected"), Colour(0), &ZoButton::ForeColorSelected,
                 [](ZoButton &b, Colour c) { b.m_ForeColorSelected = c; })
            .add(QStringLiteral("ForeColorPressed"), Colour(0), &ZoButton::ForeColorPressed,
                 [](ZoButton &b, Colour c) { b.m_ForeColorPressed = c; })
            .add(QStringLiteral("Switch"), false, &ZoButton::Switch,
                 [](ZoButton &b, bool v) { b.m_Switch = v; })
            .add(QStringLiteral("Value"), false, &ZoButton::Value,
                 [](ZoButton &b, bool v) { b.m_Value = v; })
            .add(QStringLiteral("Shift"), qint16(15), &ZoButton::Shift,
                 [](ZoButton &b, qint16 v) { b.m_Shift = v; })
            .add(QStringLiteral("ToolTipText"), QString(), &ZoButton::ToolTipText,
                 [](ZoButton &b, const QString &s) { b.picButton->setToolTipText(s); })
            .add(QStringLiteral("Rows"), qint16(16), &ZoButton::Rows,
                 [](ZoButton &b, qint16 v) { b.m_Rows = v; })
            .add(QStringLiteral("Cols"), qint16(24), &ZoButton::Cols,
                 [](ZoButton &b, qint16 v) { b.m_Cols = v; });
        return t;
    }();
    return table;
}

void ZoButton::ReadProperties(const PropertyBag &bag)
{
    properties().read(*this, bag);
}

void ZoButton::WriteProperties(PropertyBag &bag) const
{
    properties().write(*this, bag);
}

QList<ListedProperty> ZoButton::listProperties()
{
    return properties().list(*this);
}

void ZoButton::Terminate()
{
    m_FontSelected.reset();
    m_FontPressed.reset();
}

// --- Drawing ---

void ZoButton::DrawPressed()
{
    draw(Look::Pressed);
}

void ZoButton::DrawUnSelected()
{
    draw(Look::UnSelected);
}

void ZoButton::DrawSelected()
{
    draw(Look::Selected);
}

void ZoButton::Refresh()
{
    draw(Look::Refresh);
}

void ZoButton::paintEvent(QPaintEvent *)
{
    DrawUnSelected();
}

// Uncovering or restoring a window repaints it from what it last showed, without asking the
// covered control to paint: the window's own show and expose events stand in for that paint.
void ZoButton::showEvent(QShowEvent *event)
{
    UserControl::showEvent(event);
    QWindow *shownIn = window()->windowHandle();
    if (shownIn != m_watchedWindow) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        if (shownIn)
            shownIn->installEventFilter(this);
        m_watchedWindow = shownIn;
    }
    if (m_shownLook != Look::UnSelected)
        DrawUnSelected();
}

bool ZoButton::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && watched == m_watchedWindow &&
        m_watchedWindow->isExposed() && isVisible() && m_shownLook != Look::UnSelected)
        DrawUnSelected();
    return UserControl::eventFilter(watched, event);
}

// The drawing takes its extent from the face before the face follows the new size, so this
// one look is laid out in the old extent and stretched onto the new size.
void ZoButton::resizeEvent(QResizeEvent *event)
{
    UserControl::resizeEvent(event);
    DrawUnSelected();
}

// A switch that is on shows SelectedPicture, even none, in every look but Refresh's.
const PictureRef &ZoButton::chosenPicture(Look look) const
{
    if (look == Look::Refresh)
        return imgPicture;
    if (m_Switch)
        return m_Value ? imgSelected : imgPicture;
    if (look == Look::Selected && !isEmptyPicture(imgSelected))
        return imgSelected;
    if (look == Look::Pressed && !isEmptyPicture(imgPressed))
        return imgPressed;
    return imgPicture;
}

void ZoButton::draw(Look look)
{
    const PictureRef &picture = chosenPicture(look);
    const bool atRest = look == Look::UnSelected || look == Look::Refresh;

    picBuffer.setSize(atRest ? size() : picButton->size());
    picBuffer.setScaleSize(picButton->ScaleWidth(), picButton->ScaleHeight());
    picBuffer.clear();

    if (look == Look::Selected)
        drawBorder(m_LightBorderColor, m_DarkBorderColor);
    else if (look == Look::Pressed)
        drawBorder(m_DarkBorderColor, m_LightBorderColor);

    const FontRef &faceFont = picButton->Font();
    switch (look) {
    case Look::UnSelected:
        picBuffer.setForeColor(picButton->ForeColor());
        picBuffer.setFont(*faceFont);
        break;
    case Look::Selected:
        picBuffer.setForeColor(m_ForeColorSelected);
        picBuffer.setFont(m_FontSelected ? *m_FontSelected : *faceFont);
        break;
    case Look::Pressed:
        picBuffer.setForeColor(m_ForeColorPressed);
        picBuffer.setFont(m_FontPressed ? *m_FontPressed : *faceFont);
        break;
    case Look::Refresh: // prints in whatever the buffer holds
        break;
    }

    const QString caption = m_Caption.left(MaxCaptionLength);
    std::optional<QSizeF> pictureSize;
    if (!isEmptyPicture(picture))
        pictureSize =
            QSizeF(picture->width() * m_TwipsPerPixelX, picture->height() * m_TwipsPerPixelY);
    const ButtonLayout layout = layOutButton(
        m_Alignment, QSizeF(picBuffer.scaleWidth(), picBuffer.scaleHeight()), pictureSize,
        picBuffer.textSize(caption), m_Delta, look == Look::Pressed ? m_Shift : 0);
    if (pictureSize)
        picBuffer.drawPicture(picture->pixmap(), layout.picture);
    picBuffer.setCurrentPos(layout.caption);
    if (look == Look::Refresh)
        picBuffer.print(caption);
    else
        PrintCaption(caption);

    const QImage &image = picBuffer.commit();
    if (atRest)
        picButton->setGeometry(rect());
    picButton->showImage(image);
    m_shownLook = look;
}

// The right and bottom lines stand one pixel inside the far edges, on the last pixel column
// and row.
void ZoButton::drawBorder(Colour topLeft, Colour bottomRight)
{
    const double W = picBuffer.scaleWidth();
    const double H = picBuffer.scaleHeight();
    const double px = m_TwipsPerPixelX;
    const double py = m_TwipsPerPixelY;
    picBuffer.drawLine({0, 0}, {W, 0}, topLeft);
    picBuffer.drawLine({0, 0}, {0, H}, topLeft);
    picBuffer.drawLine({W - px, 0}, {W - px, H - py}, bottomRight);
    picBuffer.drawLine({0, H - py}, {W - px, H - py}, bottomRight);
}

// Prints the caption a character at a time: "&" is not printed but underlines the next
// character printed.
void ZoButton::PrintCaption(const QString &text)
{
    bool underlinePending = false;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end != -1;
         start = end, end = characters.toNextBoundary()) {
        const QString character = text.mid(start, end - start);
        if (character == QLatin1String("&")) {
            picBuffer.setFontUnderline(true);
            underlinePending = true;
            continue;
        }
        picBuffer.print(character);
        if (underlinePending) {
            picBuffer.setFontUnderline(false);
            underlinePending = false;
        }
    }
    // An "&" at the end underlines nothing, also not what Refresh prints next.
    if (underlinePending)
        picBuffer.setFontUnderline(false);
}

// --- Interaction ---

void ZoButton::AutoClick()
{
    DrawPressed();
    picButton->repaint();
    QThread::msleep(AutoClickPause);
    DrawUnSelected();
    emit Click();
}

void ZoButton::StartCapture()
{
    m_MouseIn = true;
    if (!timCapture.isActive())
        timCapture.start();
    emit MouseEnter();
}

void ZoButton::picButton_MouseDown()
{
    m_Value = !m_Value;
    ZoButtonAccessible::valueChanged(this);
    DrawPressed();
    StartCapture();
}

void ZoButton::picButton_MouseMove(float X, float Y)
{
    if (!m_MouseIn) {
        StartCapture();
        DrawSelected();
    }
    const float L = 0;
    const float T = 0;
    const float right = L + float(picButton->ScaleWidth());
    const float bottom = T + float(picButton->ScaleHeight());
    // Strict comparisons: a pointer on an edge is inside.
    if (X < L || Y < T || X > right || Y > bottom) {
        DrawUnSelected();
        m_MouseIn = false;
    }
}

// Whatever the pointer is: a press dragged off the button still clicks it. The pressed look
// stays until the next move, leave or focus loss.
void ZoButton::picButton_MouseUp()
{
    StartCapture();
    m_MouseIn = false;
    emit Click();
}

void ZoButton::picButton_LostFocus()
{
    if (!m_MouseIn)
        DrawUnSelected();
}

// The face reports no move once the pointer has left it without a button held; this check
// notices the leave instead.
void ZoButton::timCapture_Timer()
{
    const ScreenRect r = Desktop::windows().windowRect(picButton);
    const QPoint p = Desktop::pointer().cursorPos();
    if (p.x() < r.left || p.x() > r.right || p.y() < r.top || p.y() > r.bottom) {
        DrawUnSelected();
        m_MouseIn = false;
        timCapture.stop();
        emit MouseExit();
    }
}
