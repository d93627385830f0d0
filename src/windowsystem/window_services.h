#pragma once

#include <QMargins>

class QRegion;
class QWindow;

namespace zorvik {

// What the window system lets the program do with its own window.
struct WindowCapabilities {
    // Asking to be kept above other windows.
    bool keepAbove = true;
    // Putting the window where it likes, and so back where the user left it.
    bool placement = true;
    // Tray icons as windows embedded in the tray (XEmbed), besides StatusNotifierItems.
    bool embeddedTray = true;
};

// What the floating panel needs from the window manager beyond Qt 6.4: being on every desktop
// (sticky), switching keep-on-top on a mapped window without re-creating it, and a frame inside
// a shadow margin that takes no input. On X11 these are EWMH hints sent through xcb. On Wayland
// only the input region exists (the compositor alone places windows and decides what stays on
// top); on every other platform the calls do nothing. Qt has no API for sticky windows, frame
// extents or input shapes; a stays-on-top change without hide/show only arrives with
// QWindow::setFlags on a mapped window in later Qt versions, which would replace setKeepAbove.
class WindowServices {
public:
    // True when running on X11 with a connection to talk to.
    static bool available();

    // What the platform in use allows; all of it except on Wayland.
    static WindowCapabilities capabilities();

    // Puts _NET_WM_DESKTOP = 0xFFFFFFFF and _NET_WM_STATE (sticky, skip taskbar and pager, and
    // above when keepAbove) on a window that is about to be shown. Window managers drop these
    // when a window is withdrawn, so this goes before every show.
    static void prepareForShow(QWindow *window, bool keepAbove);

    // Adds or removes _NET_WM_STATE_ABOVE through the window manager (no unmap, no move); on an
    // unmapped window also in the property it will read when the window is shown.
    static void setKeepAbove(QWindow *window, bool keepAbove);

    // _GTK_FRAME_EXTENTS: how far the window's visible frame lies inside the window, the rest
    // being its shadow. Window managers that honour it (mutter, KWin) place, snap and constrain
    // the frame. Null margins remove it.
    static void setFrameExtents(QWindow *window, QMargins margins);

    // The part of the window that takes the pointer (window coordinates); elsewhere presses
    // fall through to the window below. A null region gives the whole window back.
    static void setInputRegion(QWindow *window, const QRegion &region);
};

} // namespace zorvik
