#pragma once

#include <string>

namespace author {

// Reads a movie file back: checks the framing of every tag, counts frames and definitions,
// decodes its sounds (written as WAV files into wavDir when given) and prints a summary.
// Returns false when the file is malformed.
bool checkMovie(const std::string& path, const std::string& wavDir, std::string& report);

} // namespace author
