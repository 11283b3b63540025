// The form-file reader on any bytes, with every control class Kelvo registers: a file either
// reads or is refused with a FormFileError, never a crash. A file that reads is loaded twice,
// at run time and in a designer; each form is drawn and fits within all screens together,
// whatever sizes the file holds; and what the designer would save, fresh or over the file it
// read, loads again and saves the same.
#include "FontObject.h"
#include "Form.h"
#include "FormFile.h"
#include "FuzzCheck.h"
#include "KelvoControls.h"
#include "button/ZoButton.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <cstddef>
#include <cstdint>

namespace {
const QString FileName = QStringLiteral("fuzz.json");

// Loads the description into a new form; null when the host refuses it.
std::unique_ptr<Form> loaded(const FormDescription &description, bool userMode)
{
    auto form = std::make_unique<Form>(description.name);
    form->setUserMode(userMode);
    try {
        FormFile::load(*form, description, kelvoControls(), FileName);
    } catch (const FormFileError &) {
        return nullptr;
    }
    return form;
}

QSize desktopSize()
{
    QRect desktop;
    for (const QScreen *screen : QGuiApplication::screens())
        desktop |= screen->geometry();
    return desktop.size();
}

// Draws the form as it would show, on a canvas of a small window's size whatever the form's
// size, and each button in its three looks. Drawing also delivers the resizes held back while
// the form was hidden, and with them the minimum size a ZoFormPos keeps.
void draw(Form &form)
{
    QImage canvas(320, 240, QImage::Format_ARGB32_Premultiplied);
    form.render(&canvas);
    for (ZoButton *button : form.findChildren<ZoButton *>()) {
        button->DrawSelected();
        button->DrawPressed();
        button->DrawUnSelected();
    }
    // A window larger than every screen could never be seen whole, and its backing store alone
    // could take more memory than the machine has.
    const QSize desktop = desktopSize();
    FUZZ_CHECK(form.width() <= desktop.width() && form.height() <= desktop.height());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Never a real display: every input makes windows.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    installFontSubstitutions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    FormDescription description;
    try {
        description = FormFile::parse(text, FileName);
    } catch (const FormFileError &) {
        return 0;
    }

    if (const std::unique_ptr<Form> running = loaded(description, true))
        draw(*running);

    if (const std::unique_ptr<Form> designed = loaded(description, false)) {
        draw(*designed);
        const QByteArray saved = FormFile::write(*designed, kelvoControls());
        FormDescription savedDescription;
        try {
            savedDescription = FormFile::parse(saved, FileName);
        } catch (const FormFileError &e) {
            FUZZ_FAIL(e.what());
        }
        const std::unique_ptr<Form> reloaded = loaded(savedDescription, false);
        FUZZ_CHECK(reloaded);
        FUZZ_CHECK(FormFile::write(*reloaded, kelvoControls()) == saved);

        // Saved over the file it came from, and that opened and saved again: the same bytes.
        const FormSource source(description, *designed);
        const QByteArray over = FormFile::write(*designed, kelvoControls(), &source);
        FormDescription overDescription;
        try {
            overDescription = FormFile::parse(over, FileName);
        } catch (const FormFileError &e) {
            FUZZ_FAIL(e.what());
        }
        const std::unique_ptr<Form> reopened = loaded(overDescription, false);
        FUZZ_CHECK(reopened);
        const FormSource reopenedSource(overDescription, *reopened);
        FUZZ_CHECK(FormFile::write(*reopened, kelvoControls(), &reopenedSource) == over);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
