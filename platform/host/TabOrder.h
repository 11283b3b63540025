#pragma once

class Form;

// Chains keyboard focus through a form's controls in the order of their TabIndex; controls
// with equal TabIndex keep their creation order. Controls with TabIndex -1, and those that
// do not take focus by Tab, are left where they are.
void applyTabOrder(Form &form);
