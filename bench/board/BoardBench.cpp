// The drawing board after a long session: a full repaint, and a change of scale, with
// 100,000 dots on the panel; and the cost of one more dot.
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"

#include <QApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

void paint(screens::ScreenView& view);

struct Board {
    shell::Shell shell{QStringLiteral("/nonexistent")};
    screens::Control* panel = nullptr;

    Board()
    {
        shell.view().resize(1038, 713);
        shell.view().show();
        shell.switchTo(QStringLiteral("Tablero"));
        panel = shell.currentScreen()->control(QStringLiteral("Picture1"));
        QRandomGenerator random(7);
        const QRect g = panel->geometry();
        for (int i = 0; i < 100000; ++i)
            panel->drawDot(QPointF(random.bounded(g.width()), random.bounded(g.height())), 5,
                           QColor::fromRgb(random.generate() | 0xff000000));
        paint(shell.view());
    }
};

// One full paint of the view into an image the size of the window.
void paint(screens::ScreenView& view)
{
    static QImage target;
    if (target.size() != view.size())
        target = QImage(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&target);
}

Board& board()
{
    static Board b;
    return b;
}

void fullRepaint(benchmark::State& state)
{
    auto& view = board().shell.view();
    for (auto _ : state)
        paint(view);
}

void changeOfScale(benchmark::State& state)
{
    auto& view = board().shell.view();
    const QSize sizes[] = {QSize(1038, 713), QSize(1384, 950), QSize(900, 620), QSize(1600, 1100)};
    int i = 0;
    for (auto _ : state) {
        view.resize(sizes[++i % 4]);
        paint(view);
    }
    view.resize(1038, 713);
}

void oneMoreDot(benchmark::State& state)
{
    auto& b = board();
    int x = 0;
    for (auto _ : state) {
        b.panel->drawDot(QPointF(1000 + (x++ % 4000), 2000), 5, Qt::red);
        paint(b.shell.view());
    }
}

} // namespace

BENCHMARK(fullRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(changeOfScale)->Unit(benchmark::kMillisecond);
BENCHMARK(oneMoreDot)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
