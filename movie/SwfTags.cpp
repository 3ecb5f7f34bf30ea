#include "SwfTags.h"

namespace movie {

QString tagName(int code)
{
    switch (code) {
    case TagEnd: return QStringLiteral("End");
    case TagShowFrame: return QStringLiteral("ShowFrame");
    case TagDefineShape: return QStringLiteral("DefineShape");
    case TagPlaceObject: return QStringLiteral("PlaceObject");
    case TagRemoveObject: return QStringLiteral("RemoveObject");
    case TagDefineBits: return QStringLiteral("DefineBits");
    case TagDefineButton: return QStringLiteral("DefineButton");
    case TagJpegTables: return QStringLiteral("JPEGTables");
    case TagSetBackgroundColor: return QStringLiteral("SetBackgroundColor");
    case TagDefineFont: return QStringLiteral("DefineFont");
    case TagDefineText: return QStringLiteral("DefineText");
    case TagDoAction: return QStringLiteral("DoAction");
    case TagDefineSound: return QStringLiteral("DefineSound");
    case TagStartSound: return QStringLiteral("StartSound");
    case TagSoundStreamHead: return QStringLiteral("SoundStreamHead");
    case TagSoundStreamBlock: return QStringLiteral("SoundStreamBlock");
    case TagDefineBitsLossless: return QStringLiteral("DefineBitsLossless");
    case TagDefineBitsJpeg2: return QStringLiteral("DefineBitsJPEG2");
    case TagDefineShape2: return QStringLiteral("DefineShape2");
    case TagPlaceObject2: return QStringLiteral("PlaceObject2");
    case TagRemoveObject2: return QStringLiteral("RemoveObject2");
    case TagDefineShape3: return QStringLiteral("DefineShape3");
    case TagDefineText2: return QStringLiteral("DefineText2");
    case TagDefineButton2: return QStringLiteral("DefineButton2");
    case TagDefineBitsJpeg3: return QStringLiteral("DefineBitsJPEG3");
    case TagDefineBitsLossless2: return QStringLiteral("DefineBitsLossless2");
    case TagDefineSprite: return QStringLiteral("DefineSprite");
    case TagFrameLabel: return QStringLiteral("FrameLabel");
    case TagSoundStreamHead2: return QStringLiteral("SoundStreamHead2");
    case TagDefineMorphShape: return QStringLiteral("DefineMorphShape");
    case TagDefineFont2: return QStringLiteral("DefineFont2");
    case TagFileAttributes: return QStringLiteral("FileAttributes");
    case TagPlaceObject3: return QStringLiteral("PlaceObject3");
    case TagDoAbc: return QStringLiteral("DoABC");
    case TagDefineFont3: return QStringLiteral("DefineFont3");
    case TagDoAbc2: return QStringLiteral("DoABC2");
    case TagDefineShape4: return QStringLiteral("DefineShape4");
    case TagDefineMorphShape2: return QStringLiteral("DefineMorphShape2");
    case TagStartSound2: return QStringLiteral("StartSound2");
    case TagDefineBitsJpeg4: return QStringLiteral("DefineBitsJPEG4");
    default: return QStringLiteral("tag %1").arg(code);
    }
}

bool definesCharacter(int code)
{
    switch (code) {
    case TagDefineShape: case TagDefineShape2: case TagDefineShape3: case TagDefineShape4:
    case TagDefineMorphShape: case TagDefineMorphShape2:
    case TagDefineBits: case TagDefineBitsJpeg2: case TagDefineBitsJpeg3: case TagDefineBitsJpeg4:
    case TagDefineBitsLossless: case TagDefineBitsLossless2:
    case TagDefineButton: case TagDefineButton2:
    case TagDefineFont: case TagDefineFont2: case TagDefineFont3:
    case TagDefineText: case TagDefineText2:
    case TagDefineSprite: case TagDefineSound:
        return true;
    default:
        return false;
    }
}

} // namespace movie
