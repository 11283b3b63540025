#pragma once

class ControlRegistry;

// Makes the host's standard controls known to form files: "Timer", "Label" and "TextBox".
void registerStandardControls(ControlRegistry &registry);
