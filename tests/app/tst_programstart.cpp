#include <QTest>

#include "ProgramStart.h"

#include <QApplication>
#include <QIcon>
#include <QScopeGuard>
#include <optional>
#include <vector>

// The decisions taken before the monitor window exists: what the command line gets answered
// on the terminal, and which platform Qt is asked for.
class tst_ProgramStart : public QObject {
    Q_OBJECT
private slots:
    void answerCommandLine_data();
    void answerCommandLine();
    void chosenPlatform_data();
    void chosenPlatform();
    void choosePlatform_data() { chosenPlatform_data(); }
    void choosePlatform();
    void flushFollowsTheEnvironment_data();
    void flushFollowsTheEnvironment();
    void windowIconHasEveryDrawnSize();
};

void tst_ProgramStart::answerCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("endsProgram");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<bool>("isError");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QStringList>("notPrinted");

    const QStringList none;
    QTest::newRow("no option runs") << none << false << 0 << false << none << none;
    QTest::newRow("Qt's -platform and its value run")
        << QStringList{"-platform", "offscreen"} << false << 0 << false << none << none;
    QTest::newRow("Qt's options with two dashes or an equals sign run")
        << QStringList{"--platform", "xcb", "-style=fusion", "--reverse"} << false << 0 << false
        << none << none;
    QTest::newRow("X11's options run") << QStringList{"-display", ":1", "-name", "kelvo", "-sync"}
                                       << false << 0 << false << none << none;
    QTest::newRow("--help prints the usage without Qt's options")
        << QStringList{"--help"} << true << 0 << false << QStringList{"Usage:", "--version"}
        << QStringList{"platform", "stylesheet"};
    QTest::newRow("-h is --help") << QStringList{"-h"} << true << 0 << false
                                  << QStringList{"Usage:", "--version"} << none;
    QTest::newRow("--help-all lists Qt's options too")
        << QStringList{"--help-all"} << true << 0 << false
        << QStringList{"Usage:", "--platform", "--stylesheet"} << none;
    QTest::newRow("--version prints the version record")
        << QStringList{"--version"} << true << 0 << false
        << QStringList{ProgramStart::versionText() + '\n'} << QStringList{"Usage:"};
    QTest::newRow("-v is --version") << QStringList{"-v"} << true << 0 << false
                                     << QStringList{ProgramStart::versionText()} << none;
    QTest::newRow("an unknown option is an error with the usage")
        << QStringList{"--frobnicate"} << true << 1 << true
        << QStringList{"kelvo: ", "frobnicate", "Usage:"} << none;
    QTest::newRow("an unknown option wins over --help")
        << QStringList{"--help", "-x"} << true << 1 << true << QStringList{"'x'"} << none;
    QTest::newRow("an argument that is no option is an error")
        << QStringList{"notes.txt"} << true << 1 << true << QStringList{"'notes.txt'", "Usage:"}
        << none;
    QTest::newRow("Qt's option without its value is an error")
        << QStringList{"-platform"} << true << 1 << true << QStringList{"platform", "Usage:"}
        << none;
}

void tst_ProgramStart::answerCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, endsProgram);
    QFETCH(int, exitStatus);
    QFETCH(bool, isError);
    QFETCH(QStringList, printed);
    QFETCH(QStringList, notPrinted);

    arguments.prepend(QStringLiteral("kelvo"));
    const ProgramStart::CommandLineAnswer answer = ProgramStart::answerCommandLine(arguments);
    QCOMPARE(answer.endsProgram, endsProgram);
    QCOMPARE(answer.exitStatus, exitStatus);
    QCOMPARE(answer.isError, isError);
    if (!endsProgram)
        QVERIFY(answer.text.isEmpty());
    for (const QString &text : printed)
        QVERIFY2(answer.text.contains(text), qPrintable(answer.text));
    for (const QString &text : notPrinted)
        QVERIFY2(!answer.text.contains(text), qPrintable(answer.text));
}

void tst_ProgramStart::chosenPlatform_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");

    const QStringList none;
    const QString qtDecides;
    const QString xwayland = QStringLiteral("xcb");
    QTest::newRow("X11 session: Qt decides") << QStringList{"DISPLAY=:0"} << none << qtDecides;
    QTest::newRow("no session at all: Qt decides") << none << none << qtDecides;
    QTest::newRow("Wayland with XWayland goes through XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << none << xwayland;
    QTest::newRow("Wayland known by the session type alone")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:1"} << none << xwayland;
    QTest::newRow("Wayland without XWayland stays native")
        << QStringList{"WAYLAND_DISPLAY=wayland-0"} << none << qtDecides;
    QTest::newRow("an empty DISPLAY is no XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY="} << none << qtDecides;
    QTest::newRow("the user's QT_QPA_PLATFORM wins")
        << QStringList{"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << none
        << qtDecides;
    QTest::newRow("an empty QT_QPA_PLATFORM chooses nothing")
        << QStringList{"QT_QPA_PLATFORM=", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << none
        << xwayland;
    QTest::newRow("the user's -platform wins")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
        << QStringList{"-platform", "wayland"} << qtDecides;
    QTest::newRow("the user's --platform wins")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
        << QStringList{"--reverse", "--platform", "wayland"} << qtDecides;
    QTest::newRow("-platformtheme is no platform choice")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
        << QStringList{"-platformtheme", "gtk3"} << xwayland;
}

void tst_ProgramStart::chosenPlatform()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);

    QProcessEnvironment env;
    for (const QString &variable : environment)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    arguments.prepend(QStringLiteral("kelvo"));
    QCOMPARE(ProgramStart::chosenPlatform(env, arguments), platform);
}

// The same choices taken from the process's own environment and arguments, as at start.
void tst_ProgramStart::choosePlatform()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);

    const char *const names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE",
                                 "DISPLAY"};
    QHash<QByteArray, std::optional<QByteArray>> saved;
    for (const char *name : names) {
        saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        qunsetenv(name);
    }
    const auto restore = qScopeGuard([&saved] {
        for (auto it = saved.cbegin(); it != saved.cend(); ++it)
            it.value() ? qputenv(it.key(), *it.value()) : qunsetenv(it.key());
    });
    for (const QString &variable : environment)
        qputenv(variable.section(u'=', 0, 0).toLatin1(), variable.section(u'=', 1).toLocal8Bit());
    const QByteArray given = qgetenv("QT_QPA_PLATFORM");

    arguments.prepend(QStringLiteral("kelvo"));
    std::vector<QByteArray> storage;
    std::vector<char *> argv;
    for (const QString &argument : std::as_const(arguments))
        storage.push_back(argument.toLocal8Bit());
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    ProgramStart::choosePlatform(int(argv.size()), argv.data());

    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), platform.isEmpty() ? given : platform.toLatin1());
}

void tst_ProgramStart::flushFollowsTheEnvironment_data()
{
    // An invalid QVariant: the variable is not set.
    QTest::addColumn<QVariant>("given");
    QTest::addColumn<QVariant>("qtSees");
    QTest::newRow("unset: the socket") << QVariant() << QVariant(QByteArray("1"));
    QTest::newRow("0: shared memory") << QVariant(QByteArray("0")) << QVariant();
    QTest::newRow("1: the socket") << QVariant(QByteArray("1")) << QVariant(QByteArray("1"));
    QTest::newRow("empty: the socket, as Qt reads it")
        << QVariant(QByteArray("")) << QVariant(QByteArray(""));
}

// Qt takes shared memory only with the variable unset; the user's "0" must reach it so.
void tst_ProgramStart::flushFollowsTheEnvironment()
{
    QFETCH(QVariant, given);
    QFETCH(QVariant, qtSees);
    const char *const name = "QT_XCB_NO_MITSHM";
    const auto variable = [name] {
        return qEnvironmentVariableIsSet(name) ? QVariant(qgetenv(name)) : QVariant();
    };
    const QVariant saved = variable();
    const auto put = [name](const QVariant &value) {
        value.isValid() ? qputenv(name, value.toByteArray()) : qunsetenv(name);
    };
    const auto restore = qScopeGuard([&] { put(saved); });
    put(given);
    char program[] = "kelvo";
    char *argv[] = {program};
    ProgramStart::choosePlatform(1, argv);
    QCOMPARE(variable(), qtSees);
}

// The artwork is compiled in: a size missing from the program's resources is a broken build.
void tst_ProgramStart::windowIconHasEveryDrawnSize()
{
    ProgramStart::setProgramIcon();
    QCOMPARE(QApplication::windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
}

QTEST_MAIN(tst_ProgramStart)
#include "tst_programstart.moc"
