// Writes the sound settings through the program's own path (RollingAudio over UserSettings)
// as fast as it can, until it is killed: settings_writer <config dir>. Every volume it
// writes ends in ".5" and the muted flag alternates, so a half-written value shows.
#include "platform/audio_output.h"
#include "platform/user_settings.h"
#include "sound/rolling_audio.h"

#include <QCoreApplication>
#include <QSettings>

#include <cstdio>

namespace {

class NoOutput final : public zorvik::AudioOutput {
public:
    std::unique_ptr<zorvik::AudioPlayer> createPlayer(const QByteArray &) override { return nullptr; }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc < 2)
        return 2;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[1]));
    zorvik::UserSettings settings;
    NoOutput output;
    zorvik::RollingAudio audio(settings, output);
    for (long long i = 1;; ++i) {
        audio.setVolume(double(i) + 0.5);
        audio.setMuted(i % 2 == 0);
        if (i == 1) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
