#include "AccessibleWindow.h"

#include <QAccessibleWidget>
#include <QSet>
#include <QWidget>

namespace shell {
namespace {

QSet<QString> &windowClasses()
{
    static QSet<QString> classes;
    return classes;
}

QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    // Only the window's own class: a class derived from it registers itself.
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className())
        || !windowClasses().contains(className))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
}

} // namespace

void announceAsWindow(QWidget *window)
{
    static const bool installed = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(installed);
    windowClasses().insert(QLatin1String(window->metaObject()->className()));
}

} // namespace shell
