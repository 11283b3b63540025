#pragma once

class ControlRegistry;

// Makes the push-button known to form files as "Kelvo.ZoButton".
void registerButtonControls(ControlRegistry &registry);
