#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace author {

using Buf = std::vector<float>;  // mono samples, full scale 1.0

std::vector<int16_t> toPcm(const Buf& b);
Buf fromPcm(const std::vector<int16_t>& p);
// 16-bit PCM WAV, mixed down to mono. Empty on failure.
Buf readWav(const std::string& path, int& rate);

double peak(const Buf& b);
double peakDb(const Buf& b);
double rmsDb(const Buf& b);
void normalize(Buf& b, double peakDbfs);
// Windowed-sinc resampling; lowers the band when going down in rate.
Buf resample(const Buf& in, double fromRate, double toRate);
// Adds src*gain at `at`; with wrap, what runs past the end comes round to the start.
void mixInto(Buf& dst, const Buf& src, long at, double gain = 1, bool wrap = false);
void fade(Buf& b, double rate, double inSeconds, double outSeconds);
Buf trimSilence(const Buf& b, double threshold = 0.01);

// Spanish speech from espeak-ng, slowed and raised a little to sound friendlier, at `rate`,
// peaking at `peakDbfs`. Throws when espeak-ng cannot be run.
Buf speak(const std::string& text, double rate, double peakDbfs = -6, int pitch = 62);
// Whether espeak-ng is there to run.
bool speechAvailable();

} // namespace author
