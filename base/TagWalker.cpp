#include "TagWalker.h"

#include "SwfTags.h"

namespace swf {

bool TagWalker::next(Tag& tag)
{
    if (m_tags.atEnd())
        return false;
    const uint16_t header = m_tags.u16();
    const int code = header >> 6;
    uint32_t length = header & 0x3f;
    if (length == 0x3f)
        length = m_tags.u32();
    if (!m_tags.ok()) {
        m_error = QStringLiteral("tag header is truncated");
        return false;
    }
    if (length > m_tags.remaining()) {
        m_error = QString("%1 runs past the end of its container (%2 bytes, %3 left)")
                      .arg(tagName(code)).arg(length).arg(m_tags.remaining());
        return false;
    }
    tag.code = code;
    tag.body = m_tags.sub(length);
    return true;
}

} // namespace swf
