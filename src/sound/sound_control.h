#pragma once

#include <QWidget>

namespace zorvik {

class RollingAudio;

// The header's speaker button (28 x 32): a click mutes or unmutes; hover or keyboard focus
// opens the volume card below it.
class SoundControl : public QWidget {
    Q_OBJECT

public:
    explicit SoundControl(RollingAudio &audio, QWidget *parent = nullptr);

private:
    RollingAudio &m_audio;
};

} // namespace zorvik
