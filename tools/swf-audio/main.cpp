// numbali-swf-audio FILE SECONDS OUT.wav: records what a sound sounds like through the
// program's decoders and mixer, as a 44.1 kHz stereo WAV file. FILE is, for now, one bare
// MP3 sound (as DefineSound would hold it, without the skip count); it plays from the start.
#include "Mixdown.h"
#include "SoundDecoder.h"
#include "WavWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

using namespace movie::sound;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    bool secondsOk = false;
    const double seconds = args.size() == 4 ? args[2].toDouble(&secondsOk) : 0;
    if (args.size() != 4 || !secondsOk || seconds <= 0) {
        err << "usage: numbali-swf-audio FILE SECONDS OUT.wav\n";
        return 2;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "cannot read " << args[1] << ": " << file.errorString() << "\n";
        return 1;
    }
    QByteArray data(2, '\0');  // no frames to skip
    data += file.readAll();

    SoundFormat format;
    format.codec = int(Codec::Mp3);
    format.rateCode = 3;
    format.stereo = true;
    auto sound = decodeSound(format, 0, bytesOf(data));
    if (!sound) {
        err << args[1] << ": " << sound.error() << "\n";
        return 1;
    }
    const std::vector<ScheduledSound> list{{0.0, 1, sound.value(), {}}};
    const auto samples = mixdown(list, seconds);
    auto written = writeWav(args[3], samples);
    if (!written) {
        err << written.error() << "\n";
        return 1;
    }
    return 0;
}
