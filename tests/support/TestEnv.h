#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class FakeDesktop;
class KeyRegion;
class frmMDI;
class QWidget;

// One test's world: a temporary program directory and settings store, the recording
// desktop, and virtual time starting at a fixed moment.
class TestEnv {
public:
    explicit TestEnv(const QString& routes = QString());
    ~TestEnv();

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

    // The user's gestures.
    static void click(QWidget* w);
    static void moveTo(QWidget* w, const QPoint& pos);
    // A console key by the label printed on it ("路線", "SHIFT", "↓", "7") or by its
    // object name ("imgNo_7"); a name that fits no key stops the test run.
    static KeyRegion* key(frmMDI* w, const QString& labelOrName);
    // Clicks the keys named by the space-separated labels, in order: "路線 1 2 輸入".
    static void press(frmMDI* w, const QString& labels);

    // Whole steps of a working day.
    static void powerOn(frmMDI* w);        // the power key, from off
    static void waitForPrompt(frmMDI* w);  // boot until the log-in prompt
    static void logIn(frmMDI* w);          // power on, boot, start-up card, back to type 0
    // The card onto the reader at a point in twips from the reader's corner; off again.
    static void present(frmMDI* w, double xTw = 900, double yTw = 600);
    static void withdraw(frmMDI* w);
    // The card read, its result shown: present, then one second.
    static void read(frmMDI* w);

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    FakeDesktop* m_desktop;
};
