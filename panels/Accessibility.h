#pragma once

#include <QString>

#include <functional>

class QWidget;

// What assistive technology hears of a control whose state only its drawing shows (a
// lamp, a key): its name and description. Setting a new name announces the change.
namespace Accessibility {

void describe(QWidget* widget, const QString& name, const QString& description);

// Hears every change `describe` announces; tests listen here, since no screen reader
// runs under them. An empty function stops listening.
void setListener(std::function<void(QWidget*)> listener);

} // namespace Accessibility
