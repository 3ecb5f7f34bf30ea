#include "Shell.h"

#include "Activity.h"
#include "Board.h"
#include "MoviePaths.h"
#include "Navigation.h"
#include "Screen.h"
#include "ScreenView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace shell {

std::vector<std::unique_ptr<screens::Behaviour>> standardBehaviours()
{
    std::vector<std::unique_ptr<screens::Behaviour>> out;
    out.push_back(std::make_unique<LoadMovies>());
    out.push_back(std::make_unique<Navigation>());
    out.push_back(std::make_unique<engine::ActivityBehaviour>());
    out.push_back(std::make_unique<board::BoardBehaviour>());
    return out;
}

Shell::Shell(QString applicationFolder, movie::sound::Mixer* mixer, QObject* parent)
    : QObject(parent), m_folder(std::move(applicationFolder)), m_behaviours(standardBehaviours()),
      m_view(std::make_unique<screens::ScreenView>(mixer))
{
    m_quit = [this] {
        m_view->setScreen(nullptr); // stops every movie at once
        m_view->hide();
        QCoreApplication::exit(0);
    };
}

Shell::~Shell()
{
    m_view->setScreen(nullptr);
}

QString Shell::moviePath(const QString& storedName) const { return shell::moviePath(m_folder, storedName); }

std::unique_ptr<screens::Screen> Shell::create(const QString& name)
{
    const screens::ScreenDescription* description = m_catalog.find(name);
    if (!description)
        return nullptr;
    auto screen = description->instantiate();
    for (const auto& behaviour : m_behaviours)
        behaviour->attach(*screen, *description, *this);
    return screen;
}

double Shell::startScale(QSize design, QSize available)
{
    // The largest comfortable scale: the screen at most nine tenths of the desktop's width
    // and a little less of its height (the title bar), in quarter steps, and its design size
    // where that fits. A desktop smaller than that (a small touch panel) gets the whole screen
    // shrunk to fit, never below half.
    const double fit = std::min(available.width() * 0.9 / design.width(), available.height() * 0.85 / design.height());
    if (fit >= 1.0)
        return std::floor(fit * 4) / 4;
    const double whole = std::min(double(available.width()) / design.width(), available.height() * 0.9 / design.height());
    return std::clamp(whole, 0.5, 1.0);
}

void Shell::start()
{
    switchTo(QStringLiteral("Presentación"));
    if (m_current && m_current->icon())
        QGuiApplication::setWindowIcon(QIcon(m_current->icon()->pixmap(QSize(64, 64))));
    const QSize design = m_view->sizeHint();
    double scale = 1.0;
    if (QScreen* desktop = QGuiApplication::primaryScreen())
        scale = startScale(design, desktop->availableGeometry().size());
    m_view->resize(QSize(qRound(design.width() * scale), qRound(design.height() * scale)));
    m_view->show();
}

void Shell::shareOneHeap()
{
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}

void Shell::giveBackMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void Shell::switchTo(const QString& name)
{
    auto next = create(name);
    if (!next)
        return; // a broken description was reported; the current screen stays
    // Unload the current screen: its players are destroyed now, its controls as soon as the
    // handler that asked for the switch has returned.
    m_view->setScreen(nullptr);
    if (m_current) {
        m_retired.push_back(std::move(m_current));
        // Then the memory it freed goes back to the system (a fraction of a millisecond),
        // so that hours of play do not leave the program ever larger.
        QTimer::singleShot(0, this, [this] {
            m_retired.clear();
            giveBackMemory();
        });
    }
    m_current = std::move(next);
    m_current->formLoad();
    m_view->setScreen(m_current.get());
    m_view->setWindowTitle(m_current->caption());
}

void Shell::confirmExit(screens::Screen&, screens::Control& goodbyePlayer)
{
    m_view->repaint();
    goodbyePlayer.setMovie(moviePath(QStringLiteral("\\ADIOS.swf")));
    if (m_prompt(m_view.get()))
        m_quit();
}

bool Shell::askExit(QWidget* parent)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("¿Estas seguro de querer Salir?"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QStringLiteral("         Por favor confirma tu decisión"));
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace shell
