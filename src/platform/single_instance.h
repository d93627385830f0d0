#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace zorvik {

// One running program per user. The first launch listens on an abstract-namespace local socket
// (it disappears with the process, so a killed instance leaves nothing stale behind); a later
// launch finds it, asks it to show its panel, and ends. Abstract names carry no permissions, so
// both ends check the peer's uid: a name held by another user is passed over for the next one
// ("<name>-1", "<name>-2", ...), and clients of another user are hung up on.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // "zorvik-<uid>" unless a name is given (tests use their own).
    explicit SingleInstance(QString name = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Asks this user's running instance to show its panel, or else starts listening. Returns
    // false when this process should end because another one runs (and has been told).
    bool claim();
    // Whether this process is the one listening.
    bool listening() const;
    // The name listened on once claimed (the given one unless another user held it).
    QString name() const { return m_name; }

    static QString defaultName();

signals:
    // Another launch asked this instance to show its panel.
    void showRequested();

private:
    enum class Listener { nobody, stranger, shown, silent };
    static Listener ask(const QString &name);
    bool listen(const QString &name);
    void accept();
    void watch(int client, QByteArray received);
    void finish(int client, bool show);

    QString m_name;
    int m_fd = -1;
    int m_waiting = 0;
    QSocketNotifier *m_listener = nullptr;
};

} // namespace zorvik
