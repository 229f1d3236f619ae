#include "announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace wattmeter {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
namespace {
QAccessibleInterface* notificationOf(const QString& className, QObject* object)
{
    if (className == QLatin1String{Announcer::staticMetaObject.className()})
        return new QAccessibleWidget{static_cast<QWidget*>(object), QAccessible::Notification};
    return nullptr;
}
} // namespace
#endif

Announcer::Announcer(QWidget* window) : QWidget{window}
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    static const bool factoryInstalled = (QAccessible::installFactory(notificationOf), true);
    Q_UNUSED(factoryInstalled);
#endif
    setGeometry({});
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Announcer::announce(const QString& message)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement{parentWidget(), message};
    QAccessible::updateAccessibility(&announcement);
#else
    setAccessibleName(message);
    hide();
    show();
#endif
}

} // namespace wattmeter
