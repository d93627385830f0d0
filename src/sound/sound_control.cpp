#include "sound/sound_control.h"

namespace zorvik {

// Placeholder until the sound control lands.
SoundControl::SoundControl(RollingAudio &audio, QWidget *parent) : QWidget(parent), m_audio(audio)
{
    setFixedSize(28, 32);
}

} // namespace zorvik
