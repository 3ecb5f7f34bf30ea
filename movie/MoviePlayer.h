#pragma once

#include <QObject>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <memory>

class QPainter;

namespace movie {

namespace sound {
class Mixer;
}

class Movie;

// One animation player: loads a movie file, runs its timeline at the movie's frame rate,
// loops at the end, and paints the current frame scaled to fit a rectangle keeping its
// proportions. The player never blocks the caller: a file is read and checked once when
// it is loaded, and each frame costs only a bounded amount of work.
//
// Its sounds go to the mixer it is made with, which must outlive it; without one it is silent.
class MoviePlayer : public QObject {
    Q_OBJECT
public:
    explicit MoviePlayer(sound::Mixer* mixer, QObject* parent = nullptr);
    ~MoviePlayer() override;

    // Loads the movie at `path` and starts it from its first frame (when the play setting
    // is on). Loading again, even the same file, restarts it. A missing or refused file
    // leaves the player empty; the reason is written to standard error.
    bool load(const QString& path);
    void clear();

    // The play setting: off shows the first frame and nothing advances.
    void setPlaying(bool on);
    bool isPlaying() const { return m_playing; }

    // A hidden player's timeline keeps running, but it is not painted.
    void setVisible(bool on);
    bool isVisible() const { return m_visible; }

    bool isEmpty() const;
    QString path() const { return m_path; }

    // The running movie, or null when empty (for tools and tests).
    Movie* movie() const;

    // Paints the current frame inside `target` ("show all": whole stage, proportions kept,
    // centred; the margins show the background colour and what lies beyond the stage).
    // Given `visible`, only what shows inside it is drawn.
    void paint(QPainter& painter, const QRectF& target, const QRectF& visible = QRectF()) const;

    // The part of `target` where the picture changed since the last call (the whole of it
    // after a load, a restart or being shown again), in whole pixels of the painter's device.
    QRegion takeChangedArea(const QRectF& target);
    // The changes of a movie with this stage shown in `target`, as takeChangedArea gives them.
    static QRegion changedArea(const Movie& movie, const std::vector<QRectF>& stageRects, const QRectF& target);

signals:
    // The picture changed; the owner repaints what takeChangedArea() gives.
    void frameChanged();

private:
    void onTick();
    void startSound();

    struct State;
    std::unique_ptr<State> m_state;
    QString m_path;
    bool m_playing = true;
    bool m_visible = true;
    bool m_wholeChanged = true;  // besides what the movie reports
    sound::Mixer* const m_mixer;
};

} // namespace movie
