#include "panels/Accessibility.h"

#include <QWidget>

namespace Accessibility {

namespace {

std::function<void(QWidget*)>& listener()
{
    static std::function<void(QWidget*)> l;
    return l;
}

} // namespace

void describe(QWidget* widget, const QString& name, const QString& description)
{
    widget->setAccessibleDescription(description);
    if (widget->accessibleName() == name)
        return;
    widget->setAccessibleName(name); // sends the accessibility name-changed event itself
    if (listener())
        listener()(widget);
}

void setListener(std::function<void(QWidget*)> l)
{
    listener() = std::move(l);
}

} // namespace Accessibility
