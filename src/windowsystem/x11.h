#pragma once

#include <xcb/xcb.h>

namespace zorvik::X11 {

// Qt's own connection to the X server; null on every other platform.
xcb_connection_t *connection();
// The atom of that name, asked of the server (a round trip); XCB_ATOM_NONE when it fails.
xcb_atom_t atom(xcb_connection_t *c, const char *name);
// The screen DISPLAY names (":1.0" is screen 0), whose selections a tray or compositing manager owns.
int screenNumber();
// The first screen's root window; XCB_WINDOW_NONE when there is none.
xcb_window_t root(xcb_connection_t *c);

} // namespace zorvik::X11
