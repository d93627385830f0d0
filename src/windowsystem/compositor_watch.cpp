#include "windowsystem/compositor_watch.h"

#include "windowsystem/windowsystem_log.h"
#include "windowsystem/x11.h"

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>

namespace zorvik {

namespace {

template <typename Reply>
struct Freed {
    Reply *reply;
    ~Freed() { std::free(reply); }
    Reply *operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

} // namespace

CompositorWatch::CompositorWatch(QObject *parent) : QObject(parent)
{
    xcb_connection_t *c = X11::connection();
    if (!c)
        return;
    m_selection = X11::atom(c, ("_NET_WM_CM_S" + QByteArray::number(X11::screenNumber())).constData());
    if (m_selection == XCB_ATOM_NONE)
        return;
    const Freed<xcb_get_selection_owner_reply_t> owner{
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_selection), nullptr)};
    m_active = owner && owner->owner != XCB_WINDOW_NONE;
    qCDebug(lcWindowSystem) << "compositing manager" << (m_active ? "runs" : "absent");

    // XFixes tells of every new owner and of an owner that goes away.
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) {
        qCDebug(lcWindowSystem) << "no XFixes: a compositing manager that comes or goes later is not seen";
        return;
    }
    const Freed<xcb_xfixes_query_version_reply_t> version{
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 1, 0), nullptr)};
    if (!version)
        return;
    m_notifyEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    xcb_xfixes_select_selection_input(c, X11::root(c), m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    qApp->installNativeEventFilter(this);
    m_watching = true;
}

CompositorWatch::~CompositorWatch()
{
    if (m_watching && qApp)
        qApp->removeNativeEventFilter(this);
}

bool CompositorWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_notifyEvent)
        return false;
    const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
    if (notify->selection != m_selection)
        return false;
    const bool active = notify->owner != XCB_WINDOW_NONE;
    if (active != m_active) {
        m_active = active;
        qCDebug(lcWindowSystem) << "compositing manager" << (active ? "started" : "stopped");
        // Not from inside the event dispatch: whoever listens may resize windows.
        QMetaObject::invokeMethod(this, [this] { emit changed(m_active); }, Qt::QueuedConnection);
    }
    return false;
}

} // namespace zorvik
