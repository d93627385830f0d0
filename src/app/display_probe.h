#pragma once

#include <QByteArray>

namespace zorvik {

// The display to open, settled before Qt loads its platform plugin: Qt aborts, core dump and
// all, when the display it goes for does not answer. Each display the environment names is
// tried the way Qt would try it, with a connection that is closed again at once:
// - a platform the user chose (-platform, else QT_QPA_PLATFORM) stands; a list is tried in its
//   order, and a platform that is neither X11 nor Wayland is left for Qt to judge;
// - otherwise X11 where DISPLAY answers (XWayland included: there the panel keeps its place and
//   can stay on top), else native Wayland where WAYLAND_DISPLAY answers.
class DisplayProbe {
public:
    struct Choice {
        // The platform plugin to ask Qt for; empty where the user's choice stands.
        QByteArray platform;
        // Why no display can be used, as one line for the user; empty when one can.
        QByteArray error;
    };

    // platformArgument and displayArgument: Qt's -platform and -display options, empty when
    // not given.
    static Choice choose(const QByteArray &platformArgument, const QByteArray &displayArgument);
};

} // namespace zorvik
