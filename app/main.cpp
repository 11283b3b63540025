#include "FontObject.h"
#include "FormFile.h"
#include "MemoryStatus.h"
#include "ProgramStart.h"
#include "SessionEnd.h"
#include "WindowLoss.h"
#include "frmMain.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char *argv[])
{
    ProgramStart::openStandardStreams();
#if defined(__GLIBC__)
    // One allocation arena for every thread: an arena of its own for Qt's X event reader would
    // keep private pages of its own for the little it allocates.
    mallopt(M_ARENA_MAX, 1);
#endif
    // --help and --version need no window, and so no display.
    if (const std::optional<int> status = ProgramStart::answerOnTerminal(argc, argv))
        return *status;
    ProgramStart::choosePlatform(argc, argv);
    auto displayCheck = std::make_unique<ProgramStart::DisplayCheck>(argc, argv);
    QApplication app(argc, argv);
    displayCheck.reset();
    ProgramStart::setIdentity();
    installFontSubstitutions();

    ProcMemInfo memory;
    try {
        frmMain window(memory);
        // The program ends when its monitor window is unloaded. The end of the session, a
        // signal to end, a quit from elsewhere and the window destroyed by another client
        // unload it as its Exit button does, so that its Unload handlers save the settings
        // whichever way the program ends.
        QObject::connect(&window, &Form::Unload, &app, &QApplication::quit, Qt::QueuedConnection);
        const auto unloadWindow = [&window] {
            if (window.isLoaded())
                window.unload();
        };
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, unloadWindow);
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, unloadWindow);
        const SessionEnd sessionEnd(unloadWindow);
        const WindowLoss windowLoss(window, unloadWindow);
        window.Show();
        // Once the window is on screen: while it is being mapped the window manager and the X
        // server need the machine's cores more than the icon does.
        QObject::connect(&window, &Form::Paint, &app, &ProgramStart::setProgramIcon,
                         Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
        return app.exec();
    } catch (const FormFileError &e) {
        // Only a broken build can get here: the form files are compiled in.
        std::fprintf(stderr, "kelvo: %s\n", e.what());
        return 1;
    }
}
