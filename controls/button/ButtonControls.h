#pragma once

class ControlRegistry;

// Makes the push-button known to form files as "Kelvo.ZoButton", with its "Button" page.
void registerButtonControls(ControlRegistry &registry);
