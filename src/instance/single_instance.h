#pragma once

#include <QObject>
#include <QString>

namespace zorvik {

// One running program per user, the desktop's way: the first launch owns the application id as a
// well-known name on the user's session bus and answers org.freedesktop.Application there (as
// GApplication and KDBusService do); a later launch, or a launcher starting the program through
// its desktop entry, calls Activate on it. The session bus belongs to one user, so no other user
// can own the name or call it; the name goes with the process, so a killed program leaves nothing
// stale behind. Without a session bus every launch runs on its own.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // The name owned and called, and the object path derived from it ("io.github.zorvik.Zorvik" is
    // served at "/io/github/zorvik/Zorvik").
    explicit SingleInstance(QString applicationId, QObject *parent = nullptr);

    enum class Claim {
        owner,      // this process owns the name: it runs, and hears activated()
        alone,      // no session bus, or it would not let us own the name: it runs all the same
        activated,  // the running program was told to show itself: this one ends
        unanswered, // the name's owner did not answer: this one ends
    };
    // Owns the name, or else asks its owner to activate. Waits for the bus (a round trip, well
    // under a millisecond on an idle bus), and for an owner's answer; called at start-up, before
    // any window shows.
    Claim claim();

    static QString objectPath(const QString &applicationId);

signals:
    // Another launch or a launcher asked for the program: its panel should show.
    void activated();

private:
    QString m_id;
};

} // namespace zorvik
