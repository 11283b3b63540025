#pragma once

class ControlRegistry;

// Makes the form helpers known to form files: "Kelvo.ZoFormPos" and
// "Kelvo.ZoOnTop".
void registerFormHelperControls(ControlRegistry &registry);
