// Developer tool: renders one screen of the program to a PNG, as a visitor sees it after
// opening it, optionally after clicking or dragging by control name.
//   numbali-screenshot SCREEN OUT.png [WIDTH | start] [ACTION...]
// Actions: click:NAME  drag:PIECE:TARGET
// With "start" the window takes the size the program gives it on its desktop; run it on an
// offscreen desktop of a chosen size with
//   QT_QPA_PLATFORM=offscreen:configfile=DESKTOP.json numbali-screenshot Menú out.png start
// where DESKTOP.json is {"screens": [{"name": "d", "x": 0, "y": 0, "width": 1024, "height": 600}]}.
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <cstdio>

namespace {

void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: numbali-screenshot SCREEN OUT.png [WIDTH | start] [click:NAME | drag:PIECE:TARGET]...\n");
        return 2;
    }
    shell::Shell shell(QCoreApplication::applicationDirPath());
    shell.setExitPrompt([](QWidget*) { return false; });
    const bool start = argc > 3 && QByteArray(argv[3]) == "start";
    if (start)
        shell.start();
    shell.switchTo(QString::fromUtf8(argv[1]));
    if (!shell.currentScreen()) {
        std::fprintf(stderr, "no such screen: %s\n", argv[1]);
        return 1;
    }
    auto& view = shell.view();
    if (start) {
        std::printf("window %dx%d\n", view.width(), view.height());
    } else {
        const int width = argc > 3 ? std::atoi(argv[3]) : 692;
        view.resize(width, width * view.sizeHint().height() / view.sizeHint().width());
    }
    view.show();
    for (int i = 4; i < argc; ++i) {
        const QStringList parts = QString::fromUtf8(argv[i]).split(QLatin1Char(':'));
        auto* screen = shell.currentScreen();
        if (parts.value(0) == QLatin1String("click") && screen->control(parts.value(1))) {
            const QPoint p = view.centreOf(*screen->control(parts.value(1)));
            send(&view, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
            send(&view, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        } else if (parts.value(0) == QLatin1String("drag") && screen->control(parts.value(1)) && screen->control(parts.value(2))) {
            const QPoint a = view.centreOf(*screen->control(parts.value(1)));
            const QPoint b = view.centreOf(*screen->control(parts.value(2)));
            send(&view, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
            for (int step = 1; step <= 40; ++step)
                send(&view, QEvent::MouseMove, a + (b - a) * step / 40, Qt::NoButton, Qt::LeftButton);
            send(&view, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
        } else {
            std::fprintf(stderr, "cannot do %s\n", argv[i]);
            return 1;
        }
    }
    // Let movies run a moment so the picture shows them playing.
    QTimer::singleShot(600, &app, &QApplication::quit);
    app.exec();
    if (!view.grab().save(QString::fromUtf8(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
