#pragma once

#include "ddu/Keys.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class FakeDesktop;
class QAction;
class QObject;
class QWidget;
class Timer;
class frmMDI;

// One test's world: a temporary program directory and settings store, the recording
// desktop, and virtual time starting at a fixed moment.
class TestEnv {
public:
    explicit TestEnv(const QString& routes = QString());
    ~TestEnv();

    // Route 12 towards 北門 in three sections and towards 南碼頭 in two, and route 2X with
    // a single direction.
    static inline const QString ExampleRoutes =
        QStringLiteral("12#北門#5.40\r\n12#北門#4.20\r\n12#北門#2.80\r\n"
                       "12#南碼頭#5.40\r\n12#南碼頭#3.50\r\n2X#東公園#9.10\r\n");

    // A file the program ships, from assets/: "routes.dat".
    static QByteArray readShipped(const QString& name);

    QString dir() const { return m_dir.path(); }
    QString file(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    FakeDesktop& desktop() const { return *m_desktop; }

    // The settings store, as another run of the program would see it.
    static QString stored(const QString& key);
    static void store(const QString& key, const QString& text);

    // Starts the program as main() does; the window is owned by the caller.
    std::unique_ptr<frmMDI> start();

    static void advance(qint64 ms);
    static QDateTime startTime();

    // A child of `root` by object name; a name that fits none stops the test run.
    template <class T = QWidget> static T* find(const QObject* root, const QString& name)
    {
        return static_cast<T*>(findObject(root, name, &T::staticMetaObject));
    }
    static Timer* timer(const QObject* root, const QString& name);
    static QAction* action(const frmMDI* w, const QString& name);

    // The user's gestures.
    static void click(QWidget* w);
    static void moveTo(QWidget* w, const QPoint& pos);
    // A console key by the label printed on it ("路線", "SHIFT", "↓", "7") or by its
    // object name ("imgNo_7"); a name that fits no key stops the test run.
    static Key keyFor(const QString& labelOrName);
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

private:
    static QObject* findObject(const QObject* root, const QString& name, const QMetaObject* type);

    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    FakeDesktop* m_desktop;
};
