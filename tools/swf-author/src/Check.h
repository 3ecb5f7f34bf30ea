#pragma once

#include "Swf.h"

#include <string>
#include <vector>

namespace author {

// Reads a movie file back: checks the framing of every tag, counts frames and definitions,
// decodes its sounds (written as WAV files into wavDir when given) and prints a summary.
// Returns false when the file is malformed.
bool checkMovie(const std::string& path, const std::string& wavDir, std::string& report);

// Reads the shape records of a DefineShape, DefineShape2 or DefineShape3 tag body and
// returns what other readers may take differently: a style selection left unwritten after
// new styles (readers disagree on whether it resets), styles selected in the very record
// that brings new ones, a selection past the end of its style list, or records that run
// past the tag.
std::vector<std::string> shapeProblems(const Bytes& body, int tagCode);

} // namespace author
