#pragma once

#include <QAccessibleWidget>
#include <QCoreApplication>

namespace zorvik {

class Wheel;

// The wheel as one accessible element: "Roulette wheel", valued "Spinning" or the game's
// message, with the single action "Spin". Qt's AT-SPI bridge does not carry value text, so
// the value is also given as the description.
// QAccessibleWidget already is the action interface; the overrides below replace its actions.
class WheelAccessible : public QAccessibleWidget {
    Q_DECLARE_TR_FUNCTIONS(zorvik::WheelAccessible)

public:
    explicit WheelAccessible(Wheel *wheel);

    // Installs the factory that hands out this interface for every Wheel; once per process.
    static void registerFactory();
    // Tells assistive technologies that the wheel's value text is now `value`; if `spoken`, a
    // screen reader on the focused wheel says it.
    static void valueChanged(Wheel *wheel, const QString &value, bool spoken);

    static QString spinAction();

    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    QString localizedActionName(const QString &name) const override;
    QString localizedActionDescription(const QString &name) const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &name) const override;

private:
    Wheel *wheel() const;
};

} // namespace zorvik
