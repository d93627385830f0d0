#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace zorvik {

// One running program per user. The first launch listens on an abstract-namespace local socket
// (it disappears with the process, so a killed instance leaves nothing stale behind); a later
// launch finds it, asks it to show its panel, and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // "zorvik-<uid>" unless a name is given (tests use their own).
    explicit SingleInstance(QString name = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Tries to tell a running instance to show itself; true when one took the message.
    bool notifyRunning();
    // Starts listening; on failure asks once more whether another instance just started, then
    // tries to listen again. Returns false when this process should end because another one
    // runs (and has been told to show itself).
    bool claim();
    // Whether this process is the one listening.
    bool listening() const;
    QString name() const { return m_name; }

    static QString defaultName();

signals:
    // Another launch asked this instance to show its panel.
    void showRequested();

private:
    bool listen();
    void accept();
    void watch(int client);

    QString m_name;
    int m_fd = -1;
    QSocketNotifier *m_listener = nullptr;
};

} // namespace zorvik
