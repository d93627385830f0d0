#include "wheel/wheel_accessible.h"

#include "accessibility/atspi_events.h"
#include "wheel/wheel.h"

namespace zorvik {

namespace {

QAccessibleInterface *wheelFactory(const QString &, QObject *object)
{
    if (auto *wheel = qobject_cast<Wheel *>(object))
        return new WheelAccessible(wheel);
    return nullptr;
}

} // namespace

WheelAccessible::WheelAccessible(Wheel *wheel) : QAccessibleWidget(wheel, QAccessible::Graphic)
{
}

void WheelAccessible::registerFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(wheelFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void WheelAccessible::valueChanged(Wheel *wheel, const QString &value, bool spoken)
{
    QAccessibleValueChangeEvent valueEvent(wheel, value);
    QAccessible::updateAccessibility(&valueEvent);
    if (spoken) {
        AtSpiEvents::descriptionChanged(wheel, value);
        return;
    }
    // Qt's own event hands readers the object rather than the text: they read the description
    // afresh when they need it, and have nothing to speak.
    QAccessibleEvent descriptionEvent(wheel, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&descriptionEvent);
}

QString WheelAccessible::spinAction()
{
    return QStringLiteral("Spin");
}

Wheel *WheelAccessible::wheel() const
{
    return static_cast<Wheel *>(widget());
}

QString WheelAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return tr("Roulette wheel");
    case QAccessible::Value:
    case QAccessible::Description:
        return wheel()->accessibleValue();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList WheelAccessible::actionNames() const
{
    return {spinAction()};
}

QString WheelAccessible::localizedActionName(const QString &name) const
{
    return name == spinAction() ? tr("Spin") : QString();
}

QString WheelAccessible::localizedActionDescription(const QString &name) const
{
    return name == spinAction() ? tr("Spin") : QString();
}

void WheelAccessible::doAction(const QString &name)
{
    if (name == spinAction())
        wheel()->spin();
}

QStringList WheelAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}

} // namespace zorvik
