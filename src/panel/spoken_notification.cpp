#include "panel/spoken_notification.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace zorvik {

namespace {

class NotificationAccessible : public QAccessibleWidget {
public:
    explicit NotificationAccessible(SpokenNotification *notification)
        : QAccessibleWidget(notification, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const SpokenNotification *>(widget())->text() : QString();
    }
};

QAccessibleInterface *notificationAccessible(const QString &, QObject *object)
{
    if (auto *notification = qobject_cast<SpokenNotification *>(object))
        return new NotificationAccessible(notification);
    return nullptr;
}

} // namespace

SpokenNotification::SpokenNotification(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(notificationAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
}

void SpokenNotification::present(const QString &text)
{
    // Readers speak a notification when it becomes showing, so it goes away first.
    hide();
    m_text = text;
    show();
}

} // namespace zorvik
