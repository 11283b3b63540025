#include "AppInfo.h"
#include "ControlRegistry.h"
#include "DesignerWindow.h"
#include "FontObject.h"
#include "KelvoControls.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <optional>
#include <vector>

namespace {
void setUp(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Opens, edits and saves the form files of Kelvo's windows."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A form file to open."),
                                 QStringLiteral("[file]"));
}

// --help and --version need no window: a QCoreApplication, which needs no display, lends the
// help text the program's name. It gets copies, as it takes the options it acts on out of them.
std::optional<int> answerOnTerminal(int argc, char *argv[])
{
    int count = argc;
    std::vector<char *> copy(argv, argv + argc);
    copy.push_back(nullptr);
    const QCoreApplication core(count, copy.data());
    QCommandLineParser parser;
    setUp(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("kelvo-designer %s\n", qUtf8Printable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Kelvo Designer"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(App::Major).arg(App::Minor).arg(App::Revision));
    if (const std::optional<int> status = answerOnTerminal(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVO_DESIGNER_ID));
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/app/icon/kelvo-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    installFontSubstitutions();

    DesignerWindow window(kelvoControls());
    window.show();
    // The file is looked for once the QApplication has taken its own options out.
    QCommandLineParser parser;
    setUp(parser);
    parser.parse(QCoreApplication::arguments());
    if (!parser.positionalArguments().isEmpty())
        window.open(parser.positionalArguments().constFirst());
    return app.exec();
}
