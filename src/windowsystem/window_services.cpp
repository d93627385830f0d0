#include "windowsystem/window_services.h"

#include "windowsystem/x11.h"

#include <QGuiApplication>
#include <QRegion>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace zorvik {

namespace {

bool isMapped(xcb_connection_t *c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t *reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (!reply)
        return false;
    const bool mapped = reply->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(reply);
    return mapped;
}

std::vector<xcb_atom_t> netWmState(xcb_connection_t *c, xcb_window_t window, xcb_atom_t stateAtom)
{
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, stateAtom, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (!reply)
        return atoms;
    if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        atoms.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return atoms;
}

void setOrClear(std::vector<xcb_atom_t> &atoms, xcb_atom_t value, bool on)
{
    std::erase(atoms, value);
    if (on && value != XCB_ATOM_NONE)
        atoms.push_back(value);
}

void writeNetWmState(xcb_connection_t *c, xcb_window_t window, xcb_atom_t stateAtom,
                     const std::vector<xcb_atom_t> &atoms)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, stateAtom, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

bool WindowServices::available()
{
    return X11::connection() != nullptr;
}

WindowCapabilities WindowServices::capabilities()
{
    const bool wayland = onWayland();
    return {.keepAbove = !wayland, .placement = !wayland, .embeddedTray = !wayland};
}

void WindowServices::prepareForShow(QWindow *window, bool keepAbove)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (isMapped(c, id)) {
        setKeepAbove(window, keepAbove);
        return;
    }

    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, X11::atom(c, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);

    const xcb_atom_t state = X11::atom(c, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms = netWmState(c, id, state);
    setOrClear(atoms, X11::atom(c, "_NET_WM_STATE_STICKY"), true);
    setOrClear(atoms, X11::atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), true);
    setOrClear(atoms, X11::atom(c, "_NET_WM_STATE_SKIP_PAGER"), true);
    setOrClear(atoms, X11::atom(c, "_NET_WM_STATE_ABOVE"), keepAbove);
    setOrClear(atoms, X11::atom(c, "_NET_WM_STATE_STAYS_ON_TOP"), keepAbove);
    writeNetWmState(c, id, state, atoms);
    xcb_flush(c);
}

void WindowServices::setKeepAbove(QWindow *window, bool keepAbove)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = X11::atom(c, "_NET_WM_STATE");
    const xcb_atom_t above = X11::atom(c, "_NET_WM_STATE_ABOVE");

    if (!isMapped(c, id)) {
        // Read by the window manager when it takes the window on. A map may already be on its
        // way, in which case the message below reaches the window manager after it.
        std::vector<xcb_atom_t> atoms = netWmState(c, id, state);
        setOrClear(atoms, above, keepAbove);
        setOrClear(atoms, X11::atom(c, "_NET_WM_STATE_STAYS_ON_TOP"), keepAbove);
        writeNetWmState(c, id, state, atoms);
    }

    // EWMH: a managed window asks the window manager with a client message to the root.
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = state;
    event.data.data32[0] = keepAbove ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
    event.data.data32[1] = above;
    event.data.data32[2] = 0;
    event.data.data32[3] = 1; // source: a normal application
    xcb_send_event(c, 0, X11::root(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
}

void WindowServices::setFrameExtents(QWindow *window, QMargins margins)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t extents = X11::atom(c, "_GTK_FRAME_EXTENTS");
    if (margins.isNull()) {
        xcb_delete_property(c, id, extents);
    } else {
        const qreal ratio = window->devicePixelRatio();
        const uint32_t value[4] = {uint32_t(std::lround(margins.left() * ratio)),
                                   uint32_t(std::lround(margins.right() * ratio)),
                                   uint32_t(std::lround(margins.top() * ratio)),
                                   uint32_t(std::lround(margins.bottom() * ratio))};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, extents, XCB_ATOM_CARDINAL, 32, 4, value);
    }
    xcb_flush(c);
}

void WindowServices::setInputRegion(QWindow *window, const QRegion &region)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window) {
        // On Wayland a window's mask is its input region alone (on X11 it would cut the picture).
        if (window && onWayland())
            window->setMask(region);
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (region.isNull()) {
        // Back to the whole window.
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_PIXMAP_NONE);
    } else {
        const qreal ratio = window->devicePixelRatio();
        std::vector<xcb_rectangle_t> rects;
        for (const QRect &r : region) {
            const QRect px(QPoint(int(std::floor(r.left() * ratio)), int(std::floor(r.top() * ratio))),
                           QPoint(int(std::ceil((r.right() + 1) * ratio)) - 1, int(std::ceil((r.bottom() + 1) * ratio)) - 1));
            rects.push_back({int16_t(px.x()), int16_t(px.y()), uint16_t(px.width()), uint16_t(px.height())});
        }
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0,
                             uint32_t(rects.size()), rects.data());
    }
    xcb_flush(c);
}

} // namespace zorvik
