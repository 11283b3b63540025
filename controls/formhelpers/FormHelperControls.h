#pragma once

class ControlRegistry;

// Makes the form helpers known to form files: "Kelvo.ZoFormPos", "Kelvo.ZoOnTop" and
// "Kelvo.ZoBorder".
void registerFormHelperControls(ControlRegistry &registry);
