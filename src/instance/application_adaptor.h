#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace zorvik {

class SingleInstance;

// org.freedesktop.Application, as launchers call it for a DBusActivatable desktop entry: Activate
// and Open (the program opens no files, so it shows itself) make the owner emit activated();
// the entry declares no actions, so ActivateAction refuses every name.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(SingleInstance *owner);

    static QString interfaceName() { return QStringLiteral("org.freedesktop.Application"); }

public slots:
    void Activate(const QVariantMap &platformData);
    void Open(const QStringList &uris, const QVariantMap &platformData);
    void ActivateAction(const QString &name, const QVariantList &parameter, const QVariantMap &platformData,
                        const QDBusMessage &message);

private:
    SingleInstance *m_owner;
};

} // namespace zorvik
