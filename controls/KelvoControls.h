#pragma once

class ControlRegistry;

// Every control class Kelvo's form files can name: the host's own ("Timer") and Kelvo's
// ("Kelvo.ZoButton", "Kelvo.ZoOnTop", "Kelvo.ZoFormPos", "Kelvo.ZoBorder").
const ControlRegistry &kelvoControls();
