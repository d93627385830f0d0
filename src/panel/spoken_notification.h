#pragma once

#include <QString>
#include <QWidget>

namespace zorvik {

// An element that assistive technologies see as a notification and the eye never sees (one
// transparent point that takes no input). present() names it with a text and shows it anew:
// a screen reader that speaks notifications as they appear (Orca 43) says the text. Inside a
// status bar, the reader says the text alone, without the word "notification".
class SpokenNotification : public QWidget {
    Q_OBJECT

public:
    explicit SpokenNotification(QWidget *parent);

    QString text() const { return m_text; }
    void present(const QString &text);

private:
    QString m_text;
};

} // namespace zorvik
