#include "OfflinePlayback.h"

#include "Movie.h"
#include "MovieSound.h"

#include <algorithm>
#include <cmath>

namespace movie {

Result<std::vector<int16_t>> playOffline(const QString& path, double seconds)
{
    using R = Result<std::vector<int16_t>>;
    // Ten minutes at most: the result is held in memory.
    if (!(seconds > 0) || seconds > 600)
        return R::failure(QStringLiteral("the time must be between 0 and 600 seconds"));
    auto loaded = Movie::fromFile(path);
    if (!loaded)
        return R::failure(loaded.error());
    Movie& movie = *loaded.value();
    sound::Mixer mixer(sound::Mixer::Output::None);
    MovieSound sound(mixer, movie.sharedData());

    const double fps = movie.data().playbackRate();
    const int64_t total = int64_t(std::llround(seconds * sound::OutputRate));
    std::vector<int16_t> out;
    out.reserve(size_t(total) * 2);
    sound.frameShown(movie.takeSoundEvents()); // the first frame
    int64_t frame = 0;
    while (int64_t(out.size() / 2) < total) {
        // Each frame lasts until the next frame's start, rounded to whole samples.
        const int64_t end = std::min(total, int64_t(std::llround((frame + 1) * sound::OutputRate / fps)));
        const auto mixed = mixer.render(int(end - int64_t(out.size() / 2)));
        out.insert(out.end(), mixed.begin(), mixed.end());
        movie.tick();
        sound.frameShown(movie.takeSoundEvents());
        ++frame;
    }
    return out;
}

} // namespace movie
