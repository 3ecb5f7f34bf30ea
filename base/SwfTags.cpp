#include "SwfTags.h"

namespace swf {

QString tagName(int code)
{
    switch (code) {
#define NUMBALI_SWF_TAG_NAME(name, code) \
    case code: return QStringLiteral(#name);
        NUMBALI_SWF_TAGS(NUMBALI_SWF_TAG_NAME)
#undef NUMBALI_SWF_TAG_NAME
    default: return QStringLiteral("tag %1").arg(code);
    }
}

bool definesCharacter(int code)
{
    switch (code) {
    case TagDefineShape: case TagDefineShape2: case TagDefineShape3: case TagDefineShape4:
    case TagDefineMorphShape: case TagDefineMorphShape2: case TagDefineBits: case TagDefineBitsJPEG2:
    case TagDefineBitsJPEG3: case TagDefineBitsJPEG4: case TagDefineBitsLossless: case TagDefineBitsLossless2:
    case TagDefineButton: case TagDefineButton2: case TagDefineFont: case TagDefineFont2: case TagDefineFont3:
    case TagDefineText: case TagDefineText2: case TagDefineSprite: case TagDefineSound:
        return true;
    default:
        return false;
    }
}

} // namespace swf
