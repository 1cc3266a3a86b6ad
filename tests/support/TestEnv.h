#pragma once

#include "support/ModelEnv.h"

#include <QString>

#include <memory>

class QAction;
class QWidget;
class frmMDI;

// One test's world with the program's window: a ModelEnv, and the user's gestures on the
// window that start() opens.
class TestEnv : public ModelEnv {
public:
    explicit TestEnv(const QString& routes = QString());

    // Starts the program as main() does; the window is owned by the caller.
    std::unique_ptr<frmMDI> start();

    // A child of `root` by object name; a name that fits none stops the test run.
    template <class T = QWidget> static T* find(const QObject* root, const QString& name)
    {
        return static_cast<T*>(findObject(root, name, &T::staticMetaObject));
    }
    static QAction* action(const frmMDI* w, const QString& name);

    // The user's gestures.
    static void click(QWidget* w);
    static void moveTo(QWidget* w, const QPoint& pos);
    static QWidget* key(const frmMDI* w, const QString& labelOrName);
    // Clicks the keys named by the space-separated labels, in order: "路線 1 2 輸入".
    static void press(const frmMDI* w, const QString& labels);

    // Whole steps of a working day.
    static void powerOn(const frmMDI* w);       // the power key, from off
    static void waitForPrompt(const frmMDI* w); // boot until the log-in prompt
    static void logIn(const frmMDI* w);         // power on, boot, start-up card, back to the card
    // At the log-in prompt: the start-up card on the reader until the log-in completes,
    // then off again, the card type as before; not waiting for the first route's screen.
    static void presentStartupCard(const frmMDI* w);
    // The card onto the reader at a point in twips from the reader's corner; off again.
    static void present(const frmMDI* w, double xTw = 900, double yTw = 600);
    static void withdraw(const frmMDI* w);
    // The card read, its result shown: present, then one second.
    static void read(const frmMDI* w);
};
