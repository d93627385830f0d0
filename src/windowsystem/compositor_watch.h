#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace zorvik {

// Whether a compositing manager runs, followed as it starts and stops: on X11 the owner of
// _NET_WM_CM_S<screen>, with XFixes reporting each change of owner, so nothing is polled.
// Without a compositing manager translucent windows show black where they should be clear.
// On other platforms the desktop always composites and nothing changes.
class CompositorWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit CompositorWatch(QObject *parent = nullptr);
    ~CompositorWatch() override;

    bool active() const { return m_active; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void changed(bool active);

private:
    bool m_active = true;
    bool m_watching = false;
    unsigned m_selection = 0;
    int m_notifyEvent = -1;
};

} // namespace zorvik
