#pragma once

#include <QString>

namespace swf {

// The tag codes this program reads or writes, with their names.
#define NUMBALI_SWF_TAGS(X)                                                                     \
    X(End, 0) X(ShowFrame, 1) X(DefineShape, 2) X(PlaceObject, 4) X(RemoveObject, 5)            \
    X(DefineBits, 6) X(DefineButton, 7) X(JPEGTables, 8) X(SetBackgroundColor, 9)               \
    X(DefineFont, 10) X(DefineText, 11) X(DoAction, 12) X(DefineSound, 14) X(StartSound, 15)   \
    X(SoundStreamHead, 18) X(SoundStreamBlock, 19) X(DefineBitsLossless, 20)                    \
    X(DefineBitsJPEG2, 21) X(DefineShape2, 22) X(PlaceObject2, 26) X(RemoveObject2, 28)         \
    X(DefineShape3, 32) X(DefineText2, 33) X(DefineButton2, 34) X(DefineBitsJPEG3, 35)          \
    X(DefineBitsLossless2, 36) X(DefineSprite, 39) X(FrameLabel, 43) X(SoundStreamHead2, 45)    \
    X(DefineMorphShape, 46) X(DefineFont2, 48) X(FileAttributes, 69) X(PlaceObject3, 70)        \
    X(DoABC, 72) X(DefineFont3, 75) X(DoABC2, 82) X(DefineShape4, 83) X(DefineMorphShape2, 84) \
    X(StartSound2, 89) X(DefineBitsJPEG4, 90)

enum TagCode {
#define NUMBALI_SWF_TAG_CODE(name, code) Tag##name = code,
    NUMBALI_SWF_TAGS(NUMBALI_SWF_TAG_CODE)
#undef NUMBALI_SWF_TAG_CODE
};

// The tag's name ("DefineShape3"), or "tag N" for a code this program does not know.
QString tagName(int code);
// Whether the tag defines a character: its body opens with the character's id.
bool definesCharacter(int code);

} // namespace swf
