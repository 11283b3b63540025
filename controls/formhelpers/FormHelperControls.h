#pragma once

class ControlRegistry;

// Makes the form helpers known to form files: "Kelvo.ZoFormPos".
void registerFormHelperControls(ControlRegistry &registry);
