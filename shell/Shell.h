#pragma once

#include "Behaviour.h"
#include "ScreenCatalog.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace screens {
class Screen;
class ScreenView;
} // namespace screens

namespace movie::sound {
class Mixer;
}

namespace shell {

// The program's shell: one window, exactly one open screen at a time, the screen switch and
// the exit confirmation.
class Shell : public QObject, public screens::Services {
    Q_OBJECT
public:
    // Answers the exit question: true for Yes.
    using ExitPrompt = std::function<bool(QWidget* parent)>;

    // The screens' sounds go to `mixer`, which must outlive the shell; without one the
    // program is silent.
    explicit Shell(QString applicationFolder, movie::sound::Mixer* mixer = nullptr, QObject* parent = nullptr);
    ~Shell() override;

    // Opens the first screen at a comfortable size for the desktop it is on.
    void start();
    // The scale start() gives a screen of `design` pixels on a desktop with `available` room.
    static double startScale(QSize design, QSize available);

    void switchTo(const QString& screen) override;
    void confirmExit(screens::Screen& screen, screens::Control& goodbyePlayer) override;
    QString moviePath(const QString& storedName) const override;

    screens::Screen* currentScreen() const { return m_current.get(); }
    screens::ScreenView& view() const { return *m_view; }
    ScreenCatalog& catalog() { return m_catalog; }
    const std::vector<std::unique_ptr<screens::Behaviour>>& behaviours() const { return m_behaviours; }

    // Builds a screen from its description with all its handlers, without showing it.
    std::unique_ptr<screens::Screen> create(const QString& screen);

    void setExitPrompt(ExitPrompt prompt) { m_prompt = std::move(prompt); }
    // What Yes does; by default the program ends at once.
    void setQuit(std::function<void()> quit) { m_quit = std::move(quit); }

    // The exit question as the program asks it.
    static bool askExit(QWidget* parent);

    // Makes every thread allocate from one heap. Movies are painted on a pooled thread while
    // the interface thread waits; with a heap of that thread's own, what it frees would be
    // reusable by it alone, and over hours the program's memory would creep up in the gaps.
    // Only one thread allocates at a time, so sharing costs nothing. To be called first in
    // main(), before any other thread starts.
    static void shareOneHeap();

private:
    QString m_folder;
    ScreenCatalog m_catalog;
    std::vector<std::unique_ptr<screens::Behaviour>> m_behaviours;
    std::unique_ptr<screens::ScreenView> m_view;
    std::unique_ptr<screens::Screen> m_current;
    // A screen left from inside one of its own handlers lives until that handler returns.
    std::vector<std::unique_ptr<screens::Screen>> m_retired;
    // Hands memory freed by the last screen back to the system.
    static void giveBackMemory();
    ExitPrompt m_prompt = &Shell::askExit;
    std::function<void()> m_quit;
};

// The behaviours every screen description may use.
std::vector<std::unique_ptr<screens::Behaviour>> standardBehaviours();

} // namespace shell
