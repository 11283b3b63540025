// A frameless tool window like the monitor's, carrying ZoFormPos and ZoOnTop, for the
// end-to-end test to drive through its standard input, one command a line:
//   ontop 1 | ontop 0   sets zopOnTop.OnTop, answers "ok"
//   where               answers "at <x> <y> <width> <height> window <id>": the form's
//                       placement as it would be saved, in pixels
//   quit                unloads the form (zopFormPos saves its placement) and exits
// Once the window is first painted it prints "shown <id>".

#include "Form.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "Screen.h"
#include "formhelpers/ZoOnTop.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <unistd.h>

namespace {
const char *const probeForm = R"({
  "form": "frmProbe",
  "properties": { "caption": "", "borderstyle": 5, "controlbox": false,
                  "showintaskbar": false, "clientwidth": 2085, "clientheight": 705 },
  "controls": [
    { "class": "Kelvo.ZoFormPos", "name": "zopFormPos",
      "bag": { "minheight": 705, "minwidth": 2085, "centerform": false } },
    { "class": "Kelvo.ZoOnTop", "name": "zopOnTop", "bag": { "ontop": false } }
  ]
})";

QString windowId(Form &form)
{
    return QStringLiteral("0x%1").arg(form.winId(), 0, 16);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form form{QString()};
    FormFile::load(form, FormFile::parse(probeForm, QStringLiteral("frmProbe")), kelvoControls());
    auto *onTop = form.control<ZoOnTop>(QStringLiteral("zopOnTop"));

    QTextStream out(stdout);
    QObject::connect(&form, &Form::Unload, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(
        &form, &Form::Paint, &app, [&] { out << "shown " << windowId(form) << Qt::endl; },
        Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) { // the test went away
            input.setEnabled(false);
            form.unload();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray command = pending.left(end).trimmed();
            if (command == "ontop 1" || command == "ontop 0") {
                onTop->setOnTop(command.endsWith('1'));
                out << "ok" << Qt::endl;
            } else if (command == "where") {
                out << "at " << Screen::toPixelsX(form.Left()) << ' '
                    << Screen::toPixelsY(form.Top()) << ' ' << Screen::toPixelsX(form.Width())
                    << ' ' << Screen::toPixelsY(form.Height()) << " window " << windowId(form)
                    << Qt::endl;
            } else if (command == "quit") {
                form.unload();
            } else {
                out << "unknown command " << command << Qt::endl;
            }
        }
    });

    form.Show();
    return app.exec();
}
