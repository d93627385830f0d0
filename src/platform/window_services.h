#pragma once

class QWindow;

namespace zorvik {

// What the floating panel needs from the window manager beyond Qt 6.4: being on every desktop
// (sticky), switching keep-on-top on a mapped window without re-creating it, and knowing whether
// a compositing manager runs. On X11 these are EWMH hints sent through xcb; on every other
// platform the calls do nothing. Qt has no API for sticky windows or for the compositing
// manager; a stays-on-top change without hide/show only arrives with QWindow::setFlags on a
// mapped window in later Qt versions, which would replace setKeepAbove.
class WindowServices {
public:
    // True when running on X11 with a connection to talk to.
    static bool available();

    // Puts _NET_WM_DESKTOP = 0xFFFFFFFF and _NET_WM_STATE (sticky, skip taskbar and pager, and
    // above when keepAbove) on a window that is about to be shown. Window managers drop these
    // when a window is withdrawn, so this goes before every show.
    static void prepareForShow(QWindow *window, bool keepAbove);

    // Adds or removes _NET_WM_STATE_ABOVE through the window manager (no unmap, no move); on an
    // unmapped window also in the property it will read when the window is shown.
    static void setKeepAbove(QWindow *window, bool keepAbove);

    // Whether a compositing manager owns _NET_WM_CM_S<screen>; without one, translucent
    // windows come out with black where they should be clear.
    static bool compositingActive();
};

} // namespace zorvik
