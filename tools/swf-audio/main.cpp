// Developer tool: plays a movie for some seconds without an audio device and writes what
// the mixer produced.
//   numbali-swf-audio FILE SECONDS OUT.wav
#include "OfflinePlayback.h"
#include "sound/WavWriter.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: numbali-swf-audio FILE SECONDS OUT.wav\n");
        return 2;
    }
    bool ok = false;
    const double seconds = QString::fromLocal8Bit(argv[2]).toDouble(&ok);
    if (!ok) {
        std::fprintf(stderr, "numbali-swf-audio: \"%s\" is not a number of seconds\n", argv[2]);
        return 2;
    }
    auto samples = movie::playOffline(QString::fromLocal8Bit(argv[1]), seconds);
    if (!samples) {
        std::fprintf(stderr, "numbali-swf-audio: %s\n", qPrintable(samples.error()));
        return 1;
    }
    auto written = movie::sound::writeWav(QString::fromLocal8Bit(argv[3]), samples.value());
    if (!written) {
        std::fprintf(stderr, "numbali-swf-audio: %s\n", qPrintable(written.error()));
        return 1;
    }
    return 0;
}
