// Goodbye: the smiling sun waves both ways under the word ADIÓS, in a warm evening sky,
// and says "¡Adiós! ¡Hasta pronto!" to a soft little chime.

#include "Common.h"
#include "Movies.h"

#include <cmath>

namespace author {

Movie makeAdios()
{
    // Tall and narrow, like most goodbye players: the word at the top, the sun below it.
    Movie m(150, 238, kFps, rgb(0xffffff));
    const double dy = m.height() - 180;
    const int sky = defineBackdrop(m, rgb(0xffd9a8), rgb(0xfff6e8));
    const int hill = defineHill(m, 220, 46, pal::green);
    const int cloud = defineCloud(m, 40);
    const Sun sun = defineSun(m, 34);

    // The word, letters in the four colours, with the accent on the O.
    const std::string word = "ADIOS";
    const Rgba colors[] = {pal::red, pal::blue, pal::yellow, pal::green, pal::orange};
    const double h = 27, gap = 3;
    double total = -gap;
    for (char ch : word)
        total += glyphWidth(ch, h) + gap;
    std::vector<int> letters;
    std::vector<double> xs;
    double x = (m.width() - total) / 2;
    for (size_t i = 0; i < word.size(); ++i) {
        double w = glyphWidth(word[i], h);
        Shape s;
        glyph(s, word[i], {-w / 2, -h}, h, colors[i], 0.21);
        if (word[i] == 'O') {
            Path accent = polyline({{0.5, -h * 1.12}, {4.5, -h * 1.3}});
            s.stroke(accent, {h * 0.2 * 1.65 * 0.7, pal::ink});
            s.stroke(accent, {h * 0.2 * 0.7, colors[i]});
        }
        letters.push_back(m.define(s));
        xs.push_back(x + w / 2);
        x += w + gap;
    }

    Tune chime = tuneAt(6, 10);  // 150 beats a minute, 4 seconds
    chime.line("g5/1 e5/1 c5/2", Inst::Bell, 0.7);
    chime.line("c4+e4+g4/4", Inst::Pad, 0.3);
    chime.line("r/6.5 e5/.5 g5/.5 c6/1.5", Inst::MusicBox, 0.35);
    const int frames = tuneFrames(chime);
    m.root().setStream(toPcm(music(chime, SoundRate::R22k, -14)), SoundRate::R22k);
    const Spoken bye = speechWithMouth(m, "¡Adiós! ¡Hasta pronto!");
    const int byeFrame = 3;

    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        State s;
        s[1] = place(sky, {});
        s[2] = place(cloud, at(28 + 4 * wave(t, 1), 62 + 0.6 * dy, 0, 0.9));
        s[3] = place(cloud, at(126 - 4 * wave(t, 1), 74 + 0.7 * dy, 0, -0.7, 0.7));
        // Waving goodbye: the raised arm swings quickly, the body rocks along.
        double rock = wave(t, 2);
        placeSun(s, 10, sun, at(75 + 3 * rock, 112 + dy + 2 * std::fabs(wave(t, 4)), 5 * rock), 60 * t, 35 + 5 * wave(t, 4),
                 -38 + 24 * wave(t, 8), 0, bye.mouth(f - byeFrame));
        s[20] = place(hill, at(75, 142 + dy));
        for (size_t i = 0; i < letters.size(); ++i)
            s[30 + int(i)] = place(letters[i], at(xs[i], 48 - 3 * std::max(0.0, wave(t, 2, -double(i) / 10)), 3 * wave(t, 2, double(i) / 8)));
        if (f == byeFrame)
            m.root().startSound(bye.id);
        m.root().frame(s);
    }
    return m;
}

} // namespace author
