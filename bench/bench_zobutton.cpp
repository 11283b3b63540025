// Drawing each look of a ZoButton, at the monitor's button size (330 x 352.5 twips, a 16 x 16
// picture, no caption) and at ten times that size. Every mouse move over a button that
// changes its look pays one of these.
#include <benchmark/benchmark.h>

#include "button/ZoButton.h"

#include <QApplication>
#include <QPixmap>
#include <memory>

namespace {
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_zobutton";
    static char *argv[] = {name, nullptr};
    static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    Q_UNUSED(offscreen)
}

PictureRef picture(Qt::GlobalColor colour)
{
    QPixmap p(16, 16);
    p.fill(colour);
    return std::make_shared<PictureObject>(p);
}

void drawLook(benchmark::State &state, void (ZoButton::*draw)())
{
    ensureApplication();
    const double scale = double(state.range(0));
    ZoButton button;
    button.Initialize();
    button.InitProperties();
    button.setCaption(QString());
    button.setPicture(picture(Qt::black));
    button.setSelectedPicture(picture(Qt::darkRed));
    button.setPressedPicture(picture(Qt::darkRed));
    button.Move(0, 0, 330 * scale, 352.5 * scale);
    button.DrawUnSelected(); // the face takes the button's size
    for (auto _ : state)
        (button.*draw)();
}

BENCHMARK_CAPTURE(drawLook, DrawUnSelected, &ZoButton::DrawUnSelected)->Arg(1)->Arg(10);
BENCHMARK_CAPTURE(drawLook, DrawSelected, &ZoButton::DrawSelected)->Arg(1)->Arg(10);
BENCHMARK_CAPTURE(drawLook, DrawPressed, &ZoButton::DrawPressed)->Arg(1)->Arg(10);
BENCHMARK_CAPTURE(drawLook, Refresh, &ZoButton::Refresh)->Arg(1)->Arg(10);
} // namespace

BENCHMARK_MAIN();
