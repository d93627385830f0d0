#pragma once

#include <QAbstractNativeEventFilter>
#include <QColor>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace zorvik {

// The colour an XEmbed tray asks its icons to be drawn in: the foreground of the
// _NET_SYSTEM_TRAY_COLORS property of the window that owns _NET_SYSTEM_TRAY_S<screen>. Followed
// as trays come and go (XFixes reports every new owner) and as a tray changes the property.
// Nothing here waits for the X server: requests go out at once, and a short timer picks up
// their replies once they have arrived. Without X11, without a tray, or with a tray that names
// no colours, there is none.
class TrayColors : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit TrayColors(QObject *parent = nullptr);
    ~TrayColors() override;

    // Asks once and then follows; changed() comes whenever the answer differs.
    void start();
    std::optional<QColor> foreground() const { return m_foreground; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void changed();

private:
    using Handler = std::function<void(void *reply)>;
    void expect(unsigned sequence, Handler handler);
    void collect();
    void follow(unsigned owner);
    void readColours();
    void setForeground(std::optional<QColor> colour);

    struct Pending {
        unsigned sequence;
        Handler handler;
    };
    std::vector<Pending> m_pending;
    QTimer m_collector;
    unsigned m_selection = 0;
    unsigned m_coloursAtom = 0;
    unsigned m_owner = 0;
    int m_notifyEvent = -1;
    bool m_filtering = false;
    bool m_following = false;
    std::optional<QColor> m_foreground;
};

} // namespace zorvik
