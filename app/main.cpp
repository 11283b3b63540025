#include "AppInfo.h"
#include "FontObject.h"
#include "FormFile.h"
#include "MemoryStatus.h"
#include "frmMain.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(App::Title));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(App::Major).arg(App::Minor).arg(App::Revision));
    installFontSubstitutions();

    ProcMemInfo memory;
    try {
        frmMain window(memory);
        // The program ends when its monitor window is unloaded.
        QObject::connect(&window, &Form::Unload, &app, &QApplication::quit, Qt::QueuedConnection);
        window.Show();
        return app.exec();
    } catch (const FormFileError &e) {
        // Only a broken build can get here: the form files are compiled in.
        std::fprintf(stderr, "kelvo: %s\n", e.what());
        return 1;
    }
}
