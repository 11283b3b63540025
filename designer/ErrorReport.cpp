#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

void reportError(QWidget *parent, const QString &text)
{
    std::fprintf(stderr, "kelvo-designer: %s\n", qUtf8Printable(text));
    auto *box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
