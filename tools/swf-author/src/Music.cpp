#include "Music.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <stdexcept>

namespace author {

namespace {

struct Partial {
    double ratio, amp, decay;  // decay: seconds to fall to 1/e (0: held)
};

struct Voice {
    std::vector<Partial> partials;
    double attack, release, sustain;  // sustain: level held while the note lasts (0: free decay)
    double vibrato = 0;
    double breath = 0;
};

Voice voiceOf(Inst inst, double hz)
{
    // Higher notes ring shorter, as on real bars and strings.
    double k = std::clamp(440.0 / hz, 0.35, 2.5);
    switch (inst) {
    case Inst::Marimba:
        return {{{1, 1, 0.45 * k}, {4, 0.22, 0.06 * k}, {9.9, 0.05, 0.02}}, 0.004, 0.08, 0};
    case Inst::Bell:
        return {{{1, 1, 1.1 * k}, {2.76, 0.35, 0.35 * k}, {5.4, 0.14, 0.12 * k}, {8.93, 0.05, 0.06}}, 0.002, 0.2, 0};
    case Inst::Flute:
        return {{{1, 1, 0}, {2, 0.18, 0}, {3, 0.07, 0}}, 0.06, 0.12, 1, 0.004, 0.02};
    case Inst::Bass:
        return {{{1, 1, 0.9}, {2, 0.3, 0.25}, {3, 0.08, 0.12}}, 0.008, 0.09, 0.55};
    case Inst::Pad:
        return {{{1, 1, 0}, {1.003, 0.7, 0}, {2, 0.12, 0}, {0.997, 0.6, 0}}, 0.18, 0.35, 1};
    case Inst::Kalimba:
        return {{{1, 1, 0.7 * k}, {3.0, 0.12, 0.09}, {5.9, 0.06, 0.04}}, 0.003, 0.1, 0};
    case Inst::MusicBox:
        return {{{1, 1, 0.6 * k}, {2, 0.2, 0.2 * k}, {4.2, 0.06, 0.05}}, 0.002, 0.12, 0};
    case Inst::Horn:
        return {{{1, 1, 0}, {2, 0.42, 0}, {3, 0.2, 0}, {4, 0.08, 0}}, 0.035, 0.12, 1, 0.003};
    }
    return {};
}

int noteNumber(const std::string& tok)
{
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    char n = char(std::tolower(tok.at(0)));
    if (n < 'a' || n > 'g')
        throw std::runtime_error("bad note " + tok);
    int semi = base[n - 'a'];
    size_t i = 1;
    while (i < tok.size() && (tok[i] == '#' || tok[i] == 'b')) {
        semi += tok[i] == '#' ? 1 : -1;
        ++i;
    }
    int octave = std::stoi(tok.substr(i));
    return 12 * (octave + 1) + semi;
}

} // namespace

double midiHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

double Tune::line(const std::string& score, Inst inst, double vel, double startBeat, int transpose)
{
    std::istringstream in(score);
    std::string tok;
    double beat = startBeat;
    while (in >> tok) {
        auto slash = tok.find('/');
        if (slash == std::string::npos)
            throw std::runtime_error("note without length: " + tok);
        double len = std::stod(tok.substr(slash + 1));
        std::string pitch = tok.substr(0, slash);
        double v = vel;
        if (!pitch.empty() && pitch.back() == '!') {  // accent
            v *= 1.25;
            pitch.pop_back();
        }
        if (pitch != "r") {
            size_t from = 0;
            while (from <= pitch.size()) {
                size_t plus = pitch.find('+', from);
                std::string one = pitch.substr(from, plus == std::string::npos ? std::string::npos : plus - from);
                notes.push_back({beat, len, noteNumber(one) + transpose, v, inst});
                if (plus == std::string::npos)
                    break;
                from = plus + 1;
            }
        }
        beat += len;
    }
    return beat;
}

void Tune::drums(Drum d, double from, double every, int count, double vel)
{
    for (int i = 0; i < count; ++i)
        hits.push_back({from + every * i, d, vel});
}

Buf renderNote(Inst inst, int midi, double seconds, double vel, double rate)
{
    const double hz = midiHz(midi);
    Voice v = voiceOf(inst, hz);
    double longest = 0;
    for (const Partial& p : v.partials)
        longest = std::max(longest, p.decay);
    // Held voices end a little after the note; free ones ring out or are damped at its end.
    const double total = v.sustain > 0 ? seconds + v.release * 4 : std::min(seconds + v.release * 5, longest * 4.5);
    Buf out(size_t(total * rate) + 1, 0.0f);
    std::mt19937 rng(uint32_t(midi * 7919));
    std::normal_distribution<float> noise(0, 1);
    float breathLp = 0;
    // Louder low notes would swamp the tune: keep the perceived level even.
    double level = vel * std::clamp(std::pow(hz / 440.0, 0.15), 0.7, 1.2);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / rate;
        double env = t < v.attack ? t / v.attack : 1.0;
        // A smooth start avoids a click, a smooth end avoids a pop.
        env = env * env * (3 - 2 * env);
        if (t > seconds) {
            double r = (t - seconds) / v.release;
            env *= std::exp(-r * 1.6);
        }
        if (v.sustain > 0 && v.sustain < 1 && t > v.attack)
            env *= v.sustain + (1 - v.sustain) * std::exp(-(t - v.attack) / 0.15);
        double vib = 1.0;
        if (v.vibrato > 0 && t > 0.15)
            vib = 1 + v.vibrato * std::sin(2 * M_PI * 5.2 * t) * std::min(1.0, (t - 0.15) / 0.2);
        double s = 0;
        for (const Partial& p : v.partials) {
            double f = hz * p.ratio;
            if (f > rate * 0.45)
                continue;
            double a = p.amp * (p.decay > 0 ? std::exp(-t / p.decay) : 1.0);
            s += a * std::sin(2 * M_PI * f * vib * t);
        }
        if (v.breath > 0) {
            breathLp = 0.9f * breathLp + 0.1f * noise(rng);
            s += v.breath * 10 * breathLp * std::min(1.0, t / 0.05) * (t < seconds ? 1 : 0.3);
        }
        out[i] = float(s * env * level * 0.25);
    }
    // Last few milliseconds go smoothly to nothing.
    size_t fadeN = std::min(out.size(), size_t(rate * 0.01));
    for (size_t i = 0; i < fadeN; ++i)
        out[out.size() - 1 - i] *= float(double(i) / double(fadeN));
    return out;
}

Buf renderDrum(Drum d, double vel, double rate)
{
    std::mt19937 rng(uint32_t(int(d) * 131 + 7));
    std::uniform_real_distribution<float> uni(-1, 1);
    Buf out;
    switch (d) {
    case Drum::Kick: {
        out.resize(size_t(0.25 * rate));
        double phase = 0;
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) / rate;
            double f = 50 + 70 * std::exp(-t / 0.03);
            phase += 2 * M_PI * f / rate;
            out[i] = float(std::sin(phase) * std::exp(-t / 0.07) * std::min(1.0, t / 0.002) * 0.5);
        }
        break;
    }
    case Drum::Shaker: {
        out.resize(size_t(0.09 * rate));
        float prev = 0;
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) / rate;
            float n = uni(rng);
            float hp = n - prev;  // keeps only the airy top of the noise
            prev = n;
            double env = std::min(1.0, t / 0.012) * std::exp(-t / 0.025);
            out[i] = float(hp * env * 0.12);
        }
        break;
    }
    case Drum::Block: {
        out.resize(size_t(0.12 * rate));
        for (size_t i = 0; i < out.size(); ++i) {
            double t = double(i) / rate;
            double f = std::min(1200.0, rate * 0.4);
            out[i] = float((std::sin(2 * M_PI * f * t) * 0.6 + std::sin(2 * M_PI * f * 0.63 * t) * 0.4) *
                           std::exp(-t / 0.018) * std::min(1.0, t / 0.001) * 0.3);
        }
        break;
    }
    case Drum::Triangle:
        return renderNote(Inst::Bell, 100, 0.1, vel * 0.5, rate);
    }
    for (float& s : out)
        s *= float(vel);
    return out;
}

Buf render(const Tune& t, double rate, bool loop)
{
    const double beatSec = 60.0 / t.bpm;
    Buf out(size_t(std::lround(t.beats * beatSec * rate)), 0.0f);
    for (const Note& n : t.notes) {
        Buf b = renderNote(n.inst, n.midi, n.beats * beatSec * 0.95, n.vel, rate);
        mixInto(out, b, long(std::lround(n.beat * beatSec * rate)), 1, loop);
    }
    for (const Hit& h : t.hits)
        mixInto(out, renderDrum(h.drum, h.vel, rate), long(std::lround(h.beat * beatSec * rate)), 1, loop);
    return out;
}

} // namespace author
