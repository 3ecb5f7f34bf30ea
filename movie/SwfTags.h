#pragma once

#include <QString>

namespace movie {

// The tag codes this program reads or writes.
enum TagCode {
    TagEnd = 0,
    TagShowFrame = 1,
    TagDefineShape = 2,
    TagPlaceObject = 4,
    TagRemoveObject = 5,
    TagDefineBits = 6,
    TagDefineButton = 7,
    TagJpegTables = 8,
    TagSetBackgroundColor = 9,
    TagDefineFont = 10,
    TagDefineText = 11,
    TagDoAction = 12,
    TagDefineSound = 14,
    TagStartSound = 15,
    TagSoundStreamHead = 18,
    TagSoundStreamBlock = 19,
    TagDefineBitsLossless = 20,
    TagDefineBitsJpeg2 = 21,
    TagDefineShape2 = 22,
    TagPlaceObject2 = 26,
    TagRemoveObject2 = 28,
    TagDefineShape3 = 32,
    TagDefineText2 = 33,
    TagDefineButton2 = 34,
    TagDefineBitsJpeg3 = 35,
    TagDefineBitsLossless2 = 36,
    TagDefineSprite = 39,
    TagFrameLabel = 43,
    TagSoundStreamHead2 = 45,
    TagDefineMorphShape = 46,
    TagDefineFont2 = 48,
    TagFileAttributes = 69,
    TagPlaceObject3 = 70,
    TagDoAbc = 72,
    TagDefineFont3 = 75,
    TagDoAbc2 = 82,
    TagDefineShape4 = 83,
    TagDefineMorphShape2 = 84,
    TagStartSound2 = 89,
    TagDefineBitsJpeg4 = 90,
};

// The tag's name ("DefineShape3"), or "tag N" for a code this program does not know.
QString tagName(int code);
// Whether the tag defines a character: its body opens with the character's id.
bool definesCharacter(int code);

} // namespace movie
