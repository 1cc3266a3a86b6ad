#pragma once

#include <QLabel>
#include <QString>

#include <functional>

class QWidget;

// What assistive technology hears of a control whose state only its drawing shows (a
// lamp, a key): its name and description. Setting a new name announces the change.
namespace Accessibility {

void describe(QWidget* widget, const QString& name, const QString& description);

// Hears every change `describe` announces and every notice said (the Notice itself);
// tests listen here, since no screen reader runs under them, and Qt sends no accessibility
// event then. An empty function stops listening.
void setListener(std::function<void(QWidget*)> listener);

// A display text as a screen reader should say it: the spaces (ideographic and ordinary)
// that align it on the device trimmed, each run inside it said as one space.
QString spoken(const QString& text);

// Says `text` (as `spoken`) once, though nothing on the panel has the focus: the panel's
// notice takes it as its name and shows itself, and an alert goes out with it. Nothing
// for a text that is only spaces.
void announce(QWidget* panel, const QString& text);

// Gives the console keys, the display lines and the notices the interfaces a screen
// reader needs. Idempotent; the widgets that need it call it themselves.
void install();

} // namespace Accessibility

// A line of a device's display: drawn as the device writes it, named as it is said.
class DisplayLine : public QLabel {
    Q_OBJECT
public:
    explicit DisplayLine(QWidget* parent);
};

// Where a panel's announcements come from: invisible, a notification to assistive
// technology, named with the last thing it announced.
class Notice : public QWidget {
    Q_OBJECT
public:
    explicit Notice(QWidget* panel);
    void say(const QString& text);

protected:
    void changeEvent(QEvent* e) override;

private:
    void describe();
};
