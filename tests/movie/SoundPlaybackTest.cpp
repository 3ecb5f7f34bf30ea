// The movie player's sound: what the timeline starts reaches the mixer, under one owner
// per player, and stops with the player.
#include "Movie.h"
#include "MoviePlayer.h"
#include "MovieSound.h"
#include "OfflinePlayback.h"
#include "SwfWriter.h"
#include "sound/Mixer.h"
#include "sound/SoundDecoder.h"

#include <QDir>
#include <QMap>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace movietest;
using movie::sound::Mixer;

namespace {

// DefineSound: uncompressed little-endian, 44 kHz, 16-bit mono, a ramp 0, 1, 2 ... so a
// sample's value tells where in the sound the mixer is.
QByteArray defineRamp(int id, int count)
{
    BitWriter w;
    w.u16(id);
    w.ub(3, 4); // little-endian uncompressed
    w.ub(3, 2); // 44 kHz
    w.ub(1, 1); // 16-bit
    w.ub(0, 1); // mono
    w.u32(uint32_t(count));
    for (int i = 0; i < count; ++i)
        w.u16(i + 1);
    return w.data();
}

QByteArray startSound(int id, bool stop = false)
{
    BitWriter w;
    w.u16(id);
    w.ub(0, 2);
    w.ub(stop ? 1 : 0, 1);
    w.ub(0, 5);
    return w.data();
}

// A one-frame-per-second movie that starts a 3-second ramp on its first frame.
QByteArray rampMovie(int frames = 5)
{
    SwfWriter swf(100, 100, 1);
    swf.tag(14, defineRamp(1, 3 * 44100));
    swf.tag(15, startSound(1));
    for (int i = 0; i < frames; ++i)
        swf.showFrame();
    swf.end();
    return swf.file();
}

// A stream: 11 kHz 8-bit mono blocks, one per frame, each block holding its frame number
// as its sample value.
QByteArray streamMovie(int frames, double fps)
{
    SwfWriter swf(100, 100, fps);
    const int perBlock = int(11025 / fps);
    BitWriter head;
    head.ub(0, 4);
    head.ub(1, 2); // playback 11 kHz
    head.ub(0, 1);
    head.ub(0, 1);
    head.ub(3, 4); // uncompressed little-endian
    head.ub(1, 2); // 11 kHz
    head.ub(0, 1); // 8-bit
    head.ub(0, 1); // mono
    head.u16(perBlock);
    swf.tag(45, head.data());
    for (int f = 0; f < frames; ++f) {
        swf.tag(19, QByteArray(perBlock, char(128 + 1 + f % 100)));
        swf.showFrame();
    }
    swf.end();
    return swf.file();
}

QString write(QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

int16_t left(const std::vector<int16_t>& s, int frame) { return s[size_t(frame) * 2]; }

bool silent(const std::vector<int16_t>& s)
{
    return std::all_of(s.begin(), s.end(), [](int16_t v) { return v == 0; });
}

} // namespace

TEST(SoundPlayback, AStartedSoundReachesTheMixerAndStopsWithItsPlayer)
{
    QTemporaryDir dir;
    Mixer mixer(Mixer::Output::None);
    auto player = std::make_unique<movie::MoviePlayer>(&mixer);
    ASSERT_TRUE(player->load(write(dir, "ramp.swf", rampMovie())));
    auto first = mixer.render(Mixer::BufferFrames);
    EXPECT_EQ(left(first, 0), 1);
    EXPECT_EQ(left(first, 99), 100);
    EXPECT_EQ(first[199], 100); // both channels
    player.reset();
    mixer.render(Mixer::BufferFrames); // the stop takes effect within one buffer
    EXPECT_TRUE(silent(mixer.render(Mixer::BufferFrames)));
}

TEST(SoundPlayback, LoadingAgainRestartsTheSoundAndAHiddenPlayerIsHeard)
{
    QTemporaryDir dir;
    Mixer mixer(Mixer::Output::None);
    movie::MoviePlayer player(&mixer);
    player.setVisible(false);
    const QString path = write(dir, "ramp.swf", rampMovie());
    ASSERT_TRUE(player.load(path));
    mixer.render(4 * Mixer::BufferFrames);
    ASSERT_TRUE(player.load(path));
    auto again = mixer.render(Mixer::BufferFrames);
    // The old voice is gone (it would add its own ramp) and the new one starts from its
    // first sample.
    EXPECT_EQ(left(again, 0), 1);
    EXPECT_EQ(left(again, 500), 501);
}

TEST(SoundPlayback, APlayerWithItsPlaySettingOffMakesNoSound)
{
    QTemporaryDir dir;
    Mixer mixer(Mixer::Output::None);
    movie::MoviePlayer player(&mixer);
    player.setPlaying(false);
    ASSERT_TRUE(player.load(write(dir, "ramp.swf", rampMovie())));
    EXPECT_TRUE(silent(mixer.render(4 * Mixer::BufferFrames)));
    // Turned on, it plays from the start; turned off again, it falls silent.
    player.setPlaying(true);
    EXPECT_EQ(left(mixer.render(Mixer::BufferFrames), 0), 1);
    player.setPlaying(false);
    mixer.render(Mixer::BufferFrames);
    EXPECT_TRUE(silent(mixer.render(Mixer::BufferFrames)));
}

TEST(SoundPlayback, StopRecordsAndStopSoundsSilenceEventSounds)
{
    SwfWriter swf(100, 100, 1);
    swf.tag(14, defineRamp(1, 3 * 44100));
    swf.tag(15, startSound(1));
    swf.showFrame();
    swf.tag(15, startSound(1, true));
    swf.showFrame();
    swf.end();
    auto movie = movie::Movie::fromBytes(swf.file());
    ASSERT_TRUE(movie);
    Mixer mixer(Mixer::Output::None);
    movie::MovieSound sound(mixer, movie.value()->sharedData());
    sound.frameShown(movie.value()->takeSoundEvents());
    EXPECT_FALSE(silent(mixer.render(Mixer::BufferFrames)));
    movie.value()->tick();
    sound.frameShown(movie.value()->takeSoundEvents());
    mixer.render(Mixer::BufferFrames);
    EXPECT_TRUE(silent(mixer.render(Mixer::BufferFrames)));
}

TEST(SoundPlayback, AStreamStaysWithinOneFrameOfItsTimelineForAMinute)
{
    const double fps = 12;
    auto loaded = movie::Movie::fromBytes(streamMovie(int(fps * 65), fps));
    ASSERT_TRUE(loaded);
    movie::Movie& m = *loaded.value();
    Mixer mixer(Mixer::Output::None);
    movie::MovieSound sound(mixer, m.sharedData());
    sound.frameShown(m.takeSoundEvents());
    double produced = 0;
    for (int frame = 1; frame <= int(fps * 60); ++frame) {
        // One frame's worth of output, then the next frame, as the player's timer does.
        const double end = frame * movie::sound::OutputRate / fps;
        auto out = mixer.render(int(end - produced));
        produced += double(out.size() / 2);
        // The sound heard carries the number of the frame it belongs to.
        const int heard = left(out, int(out.size() / 4)) / 256 - 1;
        EXPECT_LE(std::abs(heard - (frame - 1) % 100), 1) << "frame " << frame;
        m.tick();
        sound.frameShown(m.takeSoundEvents());
    }
}

TEST(SoundPlayback, OfflinePlaybackGivesExactlyTheTimeAsked)
{
    QTemporaryDir dir;
    auto samples = movie::playOffline(write(dir, "ramp.swf", rampMovie()), 2.5);
    ASSERT_TRUE(samples) << qPrintable(samples.error());
    EXPECT_EQ(samples.value().size(), size_t(2.5 * 44100) * 2);
    EXPECT_EQ(left(samples.value(), 22050), 22051); // the ramp, half a second in
    EXPECT_FALSE(movie::playOffline(dir.filePath("none.swf"), 1));
}

TEST(SoundPlayback, TheCorpusSoundsDecodeToTheirDeclaredLength)
{
    const QString corpus = QStringLiteral(NUMBALI_SWF_CORPUS);
    if (!QDir(corpus).exists())
        GTEST_SKIP() << "SWF corpus not found at " << qPrintable(corpus);
    int sounds = 0;
    for (const char* name : {"avm1__sound", "avm1__sound_start_stop", "from_gnash__misc-swfc.all__sound"}) {
        QFile f(corpus + "/parse/" + name + "/test.swf");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        auto m = movie::Movie::fromBytes(f.readAll());
        ASSERT_TRUE(m) << name;
        for (const auto& c : m.value()->data().characters) {
            const auto* sound = std::get_if<movie::SoundCharacter>(&c);
            if (!sound)
                continue;
            ++sounds;
            const movie::sound::SoundFormat& format = sound->format;
            auto decoded = movie::sound::decodeSound(format, sound->sampleCount, movie::sound::bytesOf(sound->data));
            ASSERT_TRUE(decoded) << name << ": " << qPrintable(decoded.error());
            const double expected = sound->sampleCount * 44100.0 / format.sampleRate();
            EXPECT_NEAR(double(decoded.value()->frames()), expected, expected * 0.02 + 1200) << name;
            EXPECT_GT(decoded.value()->frames(), 0) << name;
        }
        // And the whole movie plays through the mixer without failing.
        auto played = movie::playOffline(f.fileName(), 2);
        EXPECT_TRUE(played) << name;
    }
    EXPECT_GE(sounds, 3);
}

TEST(SoundPlayback, TheProgramsMoviesSoundWithoutClipping)
{
    const QDir dir(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    // The title companions play beside the title movie's music and stay quiet.
    const QStringList quiet = {"tit1.swf", "tit2.swf", "tit5.swf"};
    int checked = 0;
    QMap<QString, std::pair<double, int>> loudness;  // RMS, peak
    for (const QString& name : dir.entryList({"*.swf"}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        auto movie = movie::Movie::fromFile(dir.filePath(name));
        ASSERT_TRUE(movie);
        // A loop and a half, so the sound also crosses from the loop's end to its start.
        const double loop = movie.value()->data().root->frames.size() / movie.value()->frameRate();
        auto samples = movie::playOffline(dir.filePath(name), std::min(30.0, 1.5 * loop));
        ASSERT_TRUE(samples) << qPrintable(samples.error());
        int peak = 0;
        double energy = 0;
        for (int16_t v : samples.value()) {
            peak = std::max(peak, std::abs(int(v)));
            energy += double(v) * v;
        }
        const double rms = std::sqrt(energy / double(samples.value().size()));
        EXPECT_LT(peak, 32000) << "clipped";
        // Sound swings round zero: no stretch of a tenth of a second sits off to one side, as
        // a block of coded sound that lost track of its wave would.
        const std::vector<int16_t>& pcm = samples.value();
        double worstOffset = 0;
        for (size_t at = 0; at + 2 * 4410 <= pcm.size(); at += 2 * 4410) {
            double sum = 0;
            for (size_t i = at; i < at + 2 * 4410; i += 2)
                sum += pcm[i];
            worstOffset = std::max(worstOffset, std::abs(sum / 4410));
        }
        EXPECT_LT(worstOffset, 600) << "sound held off zero";
        // No clicks: no step from one sample to the next stands far out from the sound's own
        // busiest moments (a gap of silence between two frames' blocks would).
        std::vector<int> steps;
        for (size_t i = 2; i < pcm.size(); i += 2)
            steps.push_back(std::abs(pcm[i] - pcm[i - 2]));
        if (!steps.empty()) {
            std::sort(steps.begin(), steps.end());
            const int busiest = steps[steps.size() * 999 / 1000];
            EXPECT_LE(steps.back(), 3 * busiest + 50) << "a click";
        }
        loudness[name] = {rms, peak};
        if (quiet.contains(name))
            continue;
        EXPECT_GT(rms, 100.0) << "silent";
        ++checked;
    }
    EXPECT_EQ(checked, 14);
    // Background music stays well under the rewards (at least 6 dB quieter over a whole loop
    // than the quietest of them) and under the goodbye's voice (its peaks 10 dB higher).
    double loudestBackground = 0, quietestReward = 1e9;
    int backgroundPeak = 0;
    for (const auto& [name, level] : loudness.asKeyValueRange()) {
        if (name.startsWith(QLatin1String("f_romp"))) {
            loudestBackground = std::max(loudestBackground, level.first);
            backgroundPeak = std::max(backgroundPeak, level.second);
        } else if (name.startsWith(QLatin1String("feliz")) || name == QLatin1String("Alegria.swf")) {
            quietestReward = std::min(quietestReward, level.first);
        }
    }
    EXPECT_GT(loudestBackground, 0);
    EXPECT_LT(loudestBackground * 2, quietestReward);
    EXPECT_LT(backgroundPeak * 3, loudness[QStringLiteral("ADIOS.swf")].second);
}

TEST(SoundPlayback, TheAudioToolWritesWhatTheMixerMade)
{
    const QString tool = QStringLiteral(NUMBALI_SWF_AUDIO_TOOL);
    if (tool.isEmpty())
        GTEST_SKIP() << "audio tool not built";
    QTemporaryDir dir;
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(60000);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QString wav = dir.filePath("out.wav");
    ASSERT_EQ(run({write(dir, "ramp.swf", rampMovie()), "1.5", wav}), 0);
    QFile f(wav);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 44 + qsizetype(1.5 * 44100) * 4);
    EXPECT_TRUE(bytes.startsWith("RIFF"));
    // The ramp's 1000th sample, left channel, after the 44-byte header.
    const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData() + 44);
    EXPECT_EQ(samples[999 * 2], 1000);
    EXPECT_EQ(run({dir.filePath("none.swf"), "1", wav}), 1);
    EXPECT_EQ(run({"x.swf", "soon", wav}), 2);
}
