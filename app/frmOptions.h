#pragma once

#include "Form.h"

class frmMain;

// The options dialog, opened modally by the monitor's Options button. Escape closes it.
class frmOptions : public Form {
    Q_OBJECT
public:
    explicit frmOptions(frmMain &monitor, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    frmMain &m_monitor;
};
