#include "windowsystem/tray_colors.h"

#include "windowsystem/windowsystem_log.h"
#include "windowsystem/x11.h"

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <xcb/xfixes.h>

#include <cstdlib>

namespace zorvik {

namespace {

// Replies are usually there within a millisecond; the timer runs only while one is awaited.
constexpr int collectIntervalMs = 5;

xcb_intern_atom_cookie_t internAtom(xcb_connection_t *c, const QByteArray &name)
{
    return xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData());
}

xcb_atom_t atomOf(void *reply)
{
    return reply ? static_cast<xcb_intern_atom_reply_t *>(reply)->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

TrayColors::TrayColors(QObject *parent) : QObject(parent)
{
    m_collector.setInterval(collectIntervalMs);
    connect(&m_collector, &QTimer::timeout, this, &TrayColors::collect);
}

TrayColors::~TrayColors()
{
    if (xcb_connection_t *c = X11::connection())
        for (const Pending &pending : m_pending)
            xcb_discard_reply(c, pending.sequence);
    if (m_filtering && qApp)
        qApp->removeNativeEventFilter(this);
}

void TrayColors::start()
{
    xcb_connection_t *c = X11::connection();
    const xcb_query_extension_reply_t *xfixes = c ? xcb_get_extension_data(c, &xcb_xfixes_id) : nullptr;
    if (!xfixes || !xfixes->present || m_filtering)
        return;
    m_notifyEvent = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    qApp->installNativeEventFilter(this);
    m_filtering = true;

    expect(internAtom(c, "_NET_SYSTEM_TRAY_S" + QByteArray::number(X11::screenNumber())).sequence,
           [this](void *reply) { m_selection = atomOf(reply); });
    expect(internAtom(c, "_NET_SYSTEM_TRAY_COLORS").sequence, [this, c](void *reply) {
        m_coloursAtom = atomOf(reply);
        if (m_selection == XCB_ATOM_NONE || m_coloursAtom == XCB_ATOM_NONE)
            return;
        // Every later owner comes as an event; the present one is asked for once (and passed over
        // should an event have told of a newer one first).
        xcb_xfixes_select_selection_input(c, X11::root(c), m_selection,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        expect(xcb_get_selection_owner(c, m_selection).sequence, [this](void *reply) {
            if (!m_following)
                follow(reply ? static_cast<xcb_get_selection_owner_reply_t *>(reply)->owner
                             : xcb_window_t(XCB_WINDOW_NONE));
        });
    });
}

void TrayColors::expect(unsigned sequence, Handler handler)
{
    m_pending.push_back({sequence, std::move(handler)});
    xcb_flush(X11::connection());
    if (!m_collector.isActive())
        m_collector.start();
}

void TrayColors::collect()
{
    xcb_connection_t *c = X11::connection();
    if (!c || xcb_connection_has_error(c)) {
        m_pending.clear();
        m_collector.stop();
        return;
    }
    // Answered in the order asked; a handler may ask again.
    while (!m_pending.empty()) {
        void *reply = nullptr;
        xcb_generic_error_t *error = nullptr;
        if (!xcb_poll_for_reply(c, m_pending.front().sequence, &reply, &error))
            break;
        const Handler handler = std::move(m_pending.front().handler);
        m_pending.erase(m_pending.begin());
        handler(reply); // null when the server answered with an error
        std::free(reply);
        std::free(error);
    }
    if (m_pending.empty())
        m_collector.stop();
}

void TrayColors::follow(unsigned owner)
{
    m_following = true;
    m_owner = owner;
    qCDebug(lcWindowSystem) << "XEmbed tray owner" << Qt::hex << owner;
    if (owner == XCB_WINDOW_NONE) {
        setForeground(std::nullopt);
        return;
    }
    // Told of each change of the tray's colours. The tray may be gone already: its error is
    // dropped here rather than reported as one of Qt's.
    xcb_connection_t *c = X11::connection();
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_discard_reply(c, xcb_change_window_attributes_checked(c, owner, XCB_CW_EVENT_MASK, &mask).sequence);
    readColours();
}

void TrayColors::readColours()
{
    xcb_connection_t *c = X11::connection();
    const unsigned owner = m_owner;
    // Twelve cardinals of 16 bits each: foreground, error, warning and success, red, green, blue.
    expect(xcb_get_property(c, 0, owner, m_coloursAtom, XCB_ATOM_CARDINAL, 0, 12).sequence,
           [this, owner](void *answer) {
               if (owner != m_owner)
                   return; // a newer tray's answer is on its way
               const auto *reply = static_cast<xcb_get_property_reply_t *>(answer);
               std::optional<QColor> colour;
               if (reply && reply->type == XCB_ATOM_CARDINAL && reply->format == 32
                   && xcb_get_property_value_length(reply) >= 3 * 4) {
                   const auto *rgb = static_cast<const uint32_t *>(xcb_get_property_value(reply));
                   if (rgb[0] <= 0xffff && rgb[1] <= 0xffff && rgb[2] <= 0xffff)
                       colour = QColor::fromRgba64(ushort(rgb[0]), ushort(rgb[1]), ushort(rgb[2]));
               }
               setForeground(colour);
           });
}

void TrayColors::setForeground(std::optional<QColor> colour)
{
    if (colour == m_foreground)
        return;
    m_foreground = colour;
    qCDebug(lcWindowSystem) << "tray foreground" << (colour ? colour->name() : QStringLiteral("none"));
    emit changed();
}

bool TrayColors::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const int type = event->response_type & 0x7f;
    if (type == m_notifyEvent) {
        const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
        // Not from inside the event dispatch: the icon is redrawn for the answer.
        if (notify->selection == m_selection && m_selection != XCB_ATOM_NONE)
            QMetaObject::invokeMethod(this, [this, owner = notify->owner] { follow(owner); }, Qt::QueuedConnection);
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto *notify = static_cast<const xcb_property_notify_event_t *>(message);
        if (notify->window == m_owner && m_owner != XCB_WINDOW_NONE && notify->atom == m_coloursAtom)
            readColours();
    }
    return false;
}

} // namespace zorvik
