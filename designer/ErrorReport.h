#pragma once

#include <QString>

class QWidget;

// Tells the user what went wrong in a message that leaves the program running: only the window
// it belongs to waits for it. The text also goes to standard error, for whoever started the
// designer from a terminal or a script.
void reportError(QWidget *parent, const QString &text);
