#include "windowsystem/x11.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

namespace zorvik::X11 {

xcb_connection_t *connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

int screenNumber()
{
    int screen = 0;
    if (const char *display = std::getenv("DISPLAY")) {
        const char *dot = std::strrchr(display, '.');
        const char *colon = std::strrchr(display, ':');
        if (dot && colon && dot > colon)
            screen = std::atoi(dot + 1);
    }
    return screen;
}

xcb_window_t root(xcb_connection_t *c)
{
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.data ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

} // namespace zorvik::X11
