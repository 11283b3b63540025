#pragma once

#include "button/ZoButton.h"

#include <memory>

// A new button as the designer places one: design mode, then InitProperties.
inline std::unique_ptr<ZoButton> designButton()
{
    auto b = std::make_unique<ZoButton>();
    b->setAmbient(false, FontObject{});
    b->Move(0, 0, 1215, 375);
    b->Initialize();
    b->InitProperties();
    return b;
}
