#include "Colour.h"

#include <QGuiApplication>

namespace {
// Where each system colour comes from in a Qt palette. Kelvo's forms paint caption text as
// the background of text and pictures drawn in window and button text, so it takes the
// palette's text background: white under a light palette as on the classic desktop, dark
// under a dark one, where the text colours turn light.
bool paletteRole(int index, QPalette::ColorRole &role)
{
    switch (index) {
    case SystemColour::Window:
    case SystemColour::CaptionText:
        role = QPalette::Base;
        return true;
    case SystemColour::WindowText:
        role = QPalette::WindowText;
        return true;
    case SystemColour::HighlightText:
        role = QPalette::HighlightedText;
        return true;
    case SystemColour::Highlight:
        role = QPalette::Highlight;
        return true;
    case SystemColour::ButtonFace:
        role = QPalette::Button;
        return true;
    case SystemColour::ButtonShadow:
        role = QPalette::Dark;
        return true;
    case SystemColour::ButtonText:
        role = QPalette::ButtonText;
        return true;
    case SystemColour::ButtonHighlight:
        role = QPalette::Light;
        return true;
    case SystemColour::DarkShadow:
        role = QPalette::Shadow;
        return true;
    case SystemColour::LightFace:
        role = QPalette::Midlight;
        return true;
    case 23: // tool-tip text
        role = QPalette::ToolTipText;
        return true;
    case 24: // tool-tip background
        role = QPalette::ToolTipBase;
        return true;
    default:
        return false;
    }
}
} // namespace

QColor Colour::toQColor(const QPalette &palette) const
{
    if (isSystem()) {
        QPalette::ColorRole role;
        return paletteRole(systemIndex(), role) ? palette.color(role) : QColor(Qt::black);
    }
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

QColor Colour::toQColor() const
{
    return toQColor(QGuiApplication::palette());
}
