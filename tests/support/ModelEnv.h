#pragma once

#include "ddu/Keys.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

class FakeDesktop;
class QObject;
class Timer;

// One test's world without a window: a temporary program directory and settings store,
// the recording desktop, and virtual time starting at a fixed moment.
class ModelEnv {
public:
    explicit ModelEnv(const QString& routes = QString());
    ~ModelEnv();
    ModelEnv(const ModelEnv&) = delete;
    ModelEnv& operator=(const ModelEnv&) = delete;

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

    static void advance(qint64 ms);
    static QDateTime startTime();

    // A child of `root` by object name; a name that fits none stops the test run.
    template <class T = QObject> static T* find(const QObject* root, const QString& name)
    {
        return static_cast<T*>(findObject(root, name, &T::staticMetaObject));
    }
    static Timer* timer(const QObject* root, const QString& name);

    // A console key by the label printed on it ("路線", "SHIFT", "↓", "7") or by its
    // object name ("imgNo_7"); a name that fits no key stops the test run.
    static Key keyFor(const QString& labelOrName);

protected:
    static QObject* findObject(const QObject* root, const QString& name, const QMetaObject* type);

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    FakeDesktop* m_desktop;
};
