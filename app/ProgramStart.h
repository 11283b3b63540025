#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

// What happens before the monitor window exists: the options answered on the terminal, the
// window system platform Qt is asked for, and the name and icon the desktop knows Kelvo by.
namespace ProgramStart {

// Opens /dev/null on each of standard input, output and error that is closed, so that the
// next file or socket opened cannot take its place: a warning would otherwise go into the
// X connection. Call first thing.
void openStandardStreams();

// While it exists, Qt's abort when it cannot reach the window system (no display, a wrong one,
// a server that refuses) becomes one line on standard error, "kelvo: cannot open display ...",
// and exit status 1; the platform's own warnings about it are held back, and given out as
// usual if the platform starts after all. Hold one while the QApplication is built.
class DisplayCheck {
public:
    DisplayCheck(int argc, char *argv[]);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck &) = delete;
    DisplayCheck &operator=(const DisplayCheck &) = delete;
};

// The display named in that line: -display, else the variable the platform reads.
QString displayName(const QProcessEnvironment &environment, const QStringList &arguments);

// "Kelvo 1.0.1", from the version record.
QString versionText();

// What a command line asks for. Help, the version and a mistake are answered on the terminal
// and end the program with exitStatus; otherwise the program runs. Qt's own options (-platform,
// -style, -display...) are accepted so that the QApplication can act on them later.
struct CommandLineAnswer {
    bool endsProgram = false;
    int exitStatus = 0;
    QString text;
    bool isError = false; // text goes to standard error
};
CommandLineAnswer answerCommandLine(const QStringList &arguments);

// Answers the options that need no window before a QApplication, which needs a display, is
// built. Returns the exit status when the program should end now.
std::optional<int> answerOnTerminal(int argc, char *argv[]);

// The platform Kelvo asks Qt for, or an empty string to leave Qt's own choice alone. On a
// Wayland session a native client can neither keep itself above other windows nor place
// itself, so Kelvo goes through XWayland ("xcb") when it is there, unless the user chose a
// platform with QT_QPA_PLATFORM or -platform. Of the environment it reads QT_QPA_PLATFORM,
// WAYLAND_DISPLAY, XDG_SESSION_TYPE and DISPLAY.
QString chosenPlatform(const QProcessEnvironment &environment, const QStringList &arguments);

// Sets QT_QPA_PLATFORM to chosenPlatform() for the process, has X11 repaints sent through the
// socket rather than shared memory unless QT_XCB_NO_MITSHM is set (to "0" for shared memory,
// which Qt then sees unset; any other value keeps the socket), and has Qt run its
// own event loop rather than GLib's unless QT_NO_GLIB says otherwise; call before the
// QApplication.
void choosePlatform(int argc, char *argv[]);

// The application's name, version and desktop file; call once the QApplication exists.
void setIdentity();

// The program's icon, for every window without one of its own and beside a form's own
// picture. Decoding it takes a while, so the monitor sets it once its window is on screen.
void setProgramIcon();

} // namespace ProgramStart
