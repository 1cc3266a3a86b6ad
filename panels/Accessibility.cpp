#include "panels/Accessibility.h"

#include "panels/KeyRegion.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace Accessibility {

namespace {

std::function<void(QWidget*)>& listener()
{
    static std::function<void(QWidget*)> l;
    return l;
}

// A console key is a push button whose press does what a click does.
class KeyButton : public QAccessibleWidget {
public:
    explicit KeyButton(KeyRegion* key) : QAccessibleWidget(key, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<KeyRegion*>(widget())->press();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A display line is named with its text as said; the label keeps it as drawn.
class LineText : public QAccessibleWidget {
public:
    explicit LineText(DisplayLine* line) : QAccessibleWidget(line, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return spoken(static_cast<QLabel*>(widget())->text());
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("KeyRegion"))
        return new KeyButton(static_cast<KeyRegion*>(object));
    if (className == QLatin1String("DisplayLine"))
        return new LineText(static_cast<DisplayLine*>(object));
    if (className == QLatin1String("Notice"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
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

QString spoken(const QString& text)
{
    QString said;
    said.reserve(text.size());
    bool gap = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            gap = !said.isEmpty();
            continue;
        }
        if (gap)
            said += u' ';
        gap = false;
        said += c;
    }
    return said;
}

void announce(QWidget* panel, const QString& text)
{
    const QString said = spoken(text);
    if (said.isEmpty())
        return;
    auto* notice = panel->findChild<Notice*>(QString(), Qt::FindDirectChildrenOnly);
    if (!notice)
        notice = new Notice(panel);
    notice->say(said);
}

void install()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(factory);
    installed = true;
}

} // namespace Accessibility

DisplayLine::DisplayLine(QWidget* parent) : QLabel(parent)
{
    Accessibility::install();
}

Notice::Notice(QWidget* panel) : QWidget(panel)
{
    Accessibility::install();
    setObjectName(QStringLiteral("notice"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Shown, so that assistive technology takes it for a live notification; one pixel
    // that draws nothing.
    setGeometry(0, 0, 1, 1);
    describe();
    show();
}

void Notice::describe()
{
    setAccessibleDescription(tr("%1的最新訊息").arg(parentWidget()->windowTitle()));
}

void Notice::changeEvent(QEvent* e)
{
    // The panel has its title in the new language by now: Qt tells a parent first.
    if (e->type() == QEvent::LanguageChange)
        describe();
    QWidget::changeEvent(e);
}

void Notice::say(const QString& text)
{
    setAccessibleName(text);
    // Windows and macOS speak the alert; the Linux bridge drops it and lets the screen
    // reader hear a notification showing instead.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    if (Accessibility::listener())
        Accessibility::listener()(this);
}
