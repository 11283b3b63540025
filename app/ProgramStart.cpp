#include "ProgramStart.h"

#include "AppInfo.h"
#include "PictureObject.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QList>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ProgramStart {
namespace {

// The options QGuiApplication, QApplication and the X11 platform take out of the command line
// themselves. The parser has to know them, or it would call them unknown before Qt sees them.
struct QtOption {
    const char *name;
    const char *valueName; // empty for a switch
    const char *description;
};
constexpr QtOption qtOptions[] = {
    {"platform", "name[:options]", "The platform plugin to reach the window system through."},
    {"platformpluginpath", "path", "Where to look for platform plugins."},
    {"platformtheme", "theme", "The platform theme."},
    {"plugin", "plugin", "An additional input plugin to load."},
    {"qmljsdebugger", "settings", "Enables the QML debugger."},
    {"qwindowgeometry", "geometry", "The geometry of the first window."},
    {"qwindowicon", "icon", "The icon of the first window."},
    {"qwindowtitle", "title", "The title of the first window."},
    {"reverse", "", "Lays out right to left."},
    {"session", "session", "The session to restore."},
    {"style", "style", "The widget style."},
    {"stylesheet", "file", "The style sheet."},
    {"widgetcount", "", "Reports the widgets left undestroyed at exit."},
    {"testability", "", "Loads the testability driver."},
    {"display", "host:screen", "The X server to use."},
    {"geometry", "geometry", "The geometry of the first window, on X11."},
    {"title", "title", "The title of the first window, on X11."},
    {"icon", "icon", "The icon of the first window, on X11."},
    {"name", "name", "The application's resource name, on X11."},
    {"visual", "visual", "The X11 visual to use."},
    {"sync", "", "Talks to the X server synchronously."},
    {"nograb", "", "Never grabs the mouse or keyboard."},
    {"dograb", "", "Grabs even under a debugger."},
};

void setUp(QCommandLineParser &parser, bool showQtOptions)
{
    parser.setApplicationDescription(QString::fromUtf8(App::Description));
    // Qt's options are single-dash words (-platform, -style); -h and -v still work.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QtOption &qt : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name), QString::fromLatin1(qt.description),
                                  QString::fromLatin1(qt.valueName));
        if (!showQtOptions)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLineAnswer mistake(const QString &error, const QCommandLineParser &parser)
{
    return {true, 1, QStringLiteral("kelvo: %1\n\n%2").arg(error, parser.helpText()), true};
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString versionString()
{
    return QStringLiteral("%1.%2.%3").arg(App::Major).arg(App::Minor).arg(App::Revision);
}

// What the DisplayCheck holds back, and the handler it replaced.
struct HeldMessage {
    QtMsgType type;
    int line;
    QByteArray category, file, function;
    QString text;
};
QtMessageHandler previousHandler = nullptr;
QList<HeldMessage> heldMessages;
QByteArray displayLine;

void passOn(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

void checkDisplay(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // The platform plugin could not be loaded or started: Qt aborts after this message.
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        std::fputs(displayLine.constData(), stderr);
        std::fflush(stderr);
        ::_exit(1);
    }
    const QByteArray category(context.category ? context.category : "");
    if (category.startsWith("qt.qpa.")) {
        heldMessages.append({type, context.line, category, context.file, context.function, text});
        return;
    }
    passOn(type, context, text);
}

} // namespace

void openStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor: this one, as those below it are open.
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

QString displayName(const QProcessEnvironment &environment, const QStringList &arguments)
{
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-display") || arguments[i] == QLatin1String("--display"))
            return arguments[i + 1];
    }
    const bool wayland =
        environment.value(QStringLiteral("QT_QPA_PLATFORM")).startsWith(QLatin1String("wayland"));
    const QString variable =
        wayland ? QStringLiteral("WAYLAND_DISPLAY") : QStringLiteral("DISPLAY");
    const QString name = environment.value(variable);
    return name.isEmpty() ? QStringLiteral("(%1 is not set)").arg(variable) : name;
}

DisplayCheck::DisplayCheck(int argc, char *argv[])
{
    QProcessEnvironment environment;
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        if (qEnvironmentVariableIsSet(name))
            environment.insert(QLatin1String(name), qEnvironmentVariable(name));
    }
    displayLine = QStringLiteral("kelvo: cannot open display %1\n")
                      .arg(displayName(environment, argumentList(argc, argv)))
                      .toLocal8Bit();
    previousHandler = qInstallMessageHandler(checkDisplay);
}

DisplayCheck::~DisplayCheck()
{
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage &held : std::exchange(heldMessages, {})) {
        const QMessageLogContext context(held.file.constData(), held.line,
                                         held.function.constData(), held.category.constData());
        passOn(held.type, context, held.text);
    }
}

QString versionText()
{
    return QString::fromLatin1(App::Title) + u' ' + versionString();
}

CommandLineAnswer answerCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUp(parser, false);
    if (!parser.parse(arguments))
        return mistake(parser.errorText(), parser);
    // Kelvo takes no file or other argument of its own.
    if (!parser.positionalArguments().isEmpty())
        return mistake(QStringLiteral("Unexpected argument '%1'.")
                           .arg(parser.positionalArguments().constFirst()),
                       parser);
    if (parser.isSet(QStringLiteral("help-all"))) {
        QCommandLineParser all;
        setUp(all, true);
        return {true, 0, all.helpText(), false};
    }
    if (parser.isSet(QStringLiteral("help")))
        return {true, 0, parser.helpText(), false};
    if (parser.isSet(QStringLiteral("version")))
        return {true, 0, versionText() + u'\n', false};
    return {};
}

std::optional<int> answerOnTerminal(int argc, char *argv[])
{
    // The usual start has nothing to answer, and the window should not wait for a parser.
    if (argc <= 1)
        return std::nullopt;
    // A QCoreApplication needs no display and lends the help text the program's name. It gets
    // copies because it takes the options it acts on out of argc and argv.
    int count = argc;
    std::vector<char *> copy(argv, argv + argc);
    copy.push_back(nullptr);
    const QCoreApplication core(count, copy.data());
    const CommandLineAnswer answer = answerCommandLine(QCoreApplication::arguments());
    if (!answer.endsProgram)
        return std::nullopt;
    std::fputs(answer.text.toLocal8Bit().constData(), answer.isError ? stderr : stdout);
    return answer.exitStatus;
}

QString chosenPlatform(const QProcessEnvironment &environment, const QStringList &arguments)
{
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {};
    // Qt reads -platform and --platform alike, from the first argument after the program.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-platform") ||
            arguments[i] == QLatin1String("--platform"))
            return {};
    }
    const bool wayland =
        !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    const bool xwayland = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    return wayland && xwayland ? QStringLiteral("xcb") : QString();
}

void choosePlatform(int argc, char *argv[])
{
    // Only the variables chosenPlatform() reads: the whole environment would be a few hundred
    // strings made and dropped before the window can be built.
    QProcessEnvironment environment;
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY"}) {
        if (qEnvironmentVariableIsSet(name))
            environment.insert(QLatin1String(name), qEnvironmentVariable(name));
    }
    const QString platform = chosenPlatform(environment, argumentList(argc, argv));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
    // Through shared memory every repaint first waits for the X server's answer to a request,
    // a second wake-up each time a figure changes; the few kilobytes of a repainted line go
    // as cheaply through the socket, without the wait. Qt turns shared memory off for any
    // value of the variable, so "0", the user asking for it, is taken away for Qt to use it.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    else if (qgetenv("QT_XCB_NO_MITSHM") == "0")
        qunsetenv("QT_XCB_NO_MITSHM");
    // Qt's own event loop rather than GLib's: Kelvo has nothing that needs GLib's, and each
    // wake-up then costs one poll instead of GLib's rounds over its sources, and it keeps fewer
    // private pages.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    // With no session bus, libdbus would start one through X11 (where dbus-x11 is installed)
    // for the accessibility bridge: a daemon that writes under $HOME and outlives the program.
    // A desktop session always has a bus, and without one there is no screen reader to reach.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

void setIdentity()
{
    QApplication::setApplicationName(QString::fromLatin1(App::Title));
    QApplication::setApplicationVersion(versionString());
    // Lets the desktop match the window to the installed desktop file, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVO_APP_ID));
}

void setProgramIcon()
{
    // The sizes a title bar, taskbar or task switcher takes from the window itself; larger ones
    // come from the installed icon theme, by the desktop file name. Every size given here is
    // decoded now and sent to the X server with each window.
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addPixmap(
            PictureObject::fromResource(QStringLiteral(":/app/icon/kelvo-%1.png").arg(size))
                ->pixmap());
    QApplication::setWindowIcon(icon);
}

} // namespace ProgramStart
