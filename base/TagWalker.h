#pragma once

#include "BitReader.h"

#include <QString>

namespace swf {

// Walks the tags of a movie or a sprite body: each tag's code and a reader cut to the tag's
// declared length, so reading one tag cannot run into the next.
class TagWalker {
public:
    explicit TagWalker(BitReader& tags) : m_tags(tags) {}

    struct Tag {
        int code = 0;
        BitReader body;
    };
    // The next tag (End tags included). False at the end of the data, or when a tag header
    // is cut short or a tag runs past the data (then error() says which).
    bool next(Tag& tag);
    const QString& error() const { return m_error; }

private:
    BitReader& m_tags;
    QString m_error;
};

} // namespace swf
