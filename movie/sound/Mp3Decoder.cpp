#include "Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <array>
#include <mutex>

namespace movie::sound {

namespace {

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

Mp3Decoder::Mp3Decoder()
{
    open();
}

Mp3Decoder::~Mp3Decoder()
{
    if (m_handle)
        mpg123_delete(m_handle);
}

void Mp3Decoder::open()
{
    initLibrary();
    if (m_handle) {
        mpg123_delete(m_handle);
        m_handle = nullptr;
    }
    m_rate = 0;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle)
        return;
    // Stored sounds carry their own skip counts, so the library must not trim anything.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO, 0);
    mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(handle) != MPG123_OK) {
        mpg123_delete(handle);
        return;
    }
    m_handle = handle;
}

void Mp3Decoder::reset()
{
    open();
}

Result<int64_t> Mp3Decoder::feed(std::span<const uint8_t> bytes, Pcm& out, int64_t maxFrames)
{
    if (!m_handle)
        return Result<int64_t>::failure(QStringLiteral("MP3 decoder unavailable"));
    if (m_rate > 0)
        out.sampleRate = m_rate;
    if (!bytes.empty() && mpg123_feed(m_handle, bytes.data(), bytes.size()) != MPG123_OK)
        return Result<int64_t>::failure(QStringLiteral("MP3 decoder refused data"));

    const int64_t before = out.frames();
    std::array<unsigned char, 16384> buffer;
    // Each round produces output, changes format or asks for more input; a run of errors
    // without output means the library cannot move on, and the rest of the feed is dropped.
    int errorsInRow = 0;
    while (errorsInRow < 16) {
        size_t done = 0;
        const int status = mpg123_read(m_handle, buffer.data(), buffer.size(), &done);
        if (status == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            if (mpg123_getformat(m_handle, &rate, &channels, &encoding) == MPG123_OK) {
                m_rate = double(rate);
                out.sampleRate = m_rate;
            }
        }
        const size_t samples = done / sizeof(int16_t);
        const int64_t room = maxFrames - out.frames();
        const size_t take = size_t(std::clamp<int64_t>(room * 2, 0, int64_t(samples)));
        const auto* values = reinterpret_cast<const int16_t*>(buffer.data());
        out.samples.insert(out.samples.end(), values, values + (take & ~size_t(1)));
        if (status == MPG123_NEED_MORE || status == MPG123_DONE)
            break;
        errorsInRow = (status == MPG123_ERR && done == 0) ? errorsInRow + 1 : 0;
        if (status == MPG123_ERR || status == MPG123_NEW_FORMAT)
            continue;
        if (status != MPG123_OK)
            break;
    }
    return out.frames() - before;
}

} // namespace movie::sound
