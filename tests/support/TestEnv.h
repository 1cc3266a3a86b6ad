#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class FakeDesktop;
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

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    FakeDesktop* m_desktop;
};
