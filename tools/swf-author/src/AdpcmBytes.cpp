#include "AdpcmBytes.h"

#include "Adpcm.h"

#include <algorithm>
#include <span>

namespace author {

Bytes adpcmEncode(const std::vector<int16_t>& pcm, size_t first, size_t count, int* index)
{
    first = std::min(first, pcm.size());
    count = std::min(count, pcm.size() - first);
    movie::sound::AdpcmEncoder encoder(4, false);
    Bytes out = encoder.encode(std::span(pcm).subspan(first, count), index ? *index : -1);
    if (index)
        *index = encoder.endIndex();
    return out;
}

std::vector<int16_t> adpcmDecode(const Bytes& data, size_t samples)
{
    movie::sound::SoundFormat mono;
    mono.codec = int(movie::sound::Codec::Adpcm);
    auto pcm = movie::sound::decodeAdpcm(mono, data, int64_t(samples));
    std::vector<int16_t> out;
    if (!pcm)
        return out;
    out.reserve(size_t(pcm->frames()));
    for (size_t i = 0; i < pcm->samples.size(); i += 2)
        out.push_back(pcm->samples[i]);
    return out;
}

} // namespace author
