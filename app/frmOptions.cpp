#include "frmOptions.h"

#include "frmMain.h"

#include <QKeyEvent>

frmOptions::frmOptions(frmMain &monitor, QWidget *parent)
    : Form(QStringLiteral("frmOptions"), parent)
    , m_monitor(monitor)
{
    setBorderStyle(3);
    setControlBox(false);
    setClientSize(2955, 1455);
}

void frmOptions::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        unload();
    else
        Form::keyPressEvent(event);
}
