#include "shell/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

#include <cstdlib>

namespace {

QtDesktop::Viewer& viewer()
{
    static QtDesktop::Viewer v = nullptr;
    return v;
}

void box(QMessageBox::Icon icon, const QString& text)
{
    // With a parent, the box opens centred on it and stays above it.
    QMessageBox mb(icon, Desktop::Title, text, QMessageBox::Ok, QtDesktop::mainWindow());
    mb.exec();
}

} // namespace

void QtDesktop::warn(const QString& text)
{
    // A box's own event loop would run the devices' timers inside whatever step asked for
    // the warning; the box comes up once that step is over.
    QMetaObject::invokeMethod(
        qApp, [text] { box(QMessageBox::Warning, text); }, Qt::QueuedConnection);
}

void QtDesktop::fatal(const QString& text)
{
    box(QMessageBox::Critical, text);
}

void QtDesktop::info(const QString& text)
{
    box(QMessageBox::Information, text);
}

int QtDesktop::ask(const QString& text, const QStringList& buttons, int defaultIndex)
{
    QMessageBox mb(QMessageBox::Question, Desktop::Title, text, QMessageBox::NoButton,
                   QtDesktop::mainWindow());
    QList<QAbstractButton*> added;
    for (const QString& caption : buttons)
        added << mb.addButton(caption, QMessageBox::ActionRole);
    if (defaultIndex >= 0 && defaultIndex < added.size()) {
        mb.setDefaultButton(static_cast<QPushButton*>(added[defaultIndex]));
        mb.setEscapeButton(added[defaultIndex]);
    }
    mb.exec();
    const qsizetype chosen = added.indexOf(mb.clickedButton());
    return chosen < 0 ? defaultIndex : int(chosen);
}

void QtDesktop::beep()
{
    QApplication::beep();
}

bool QtDesktop::openFile(const QString& path)
{
    // No shell and no command line: the desktop picks the browser or the editor.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDesktop::openUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

bool QtDesktop::view(const QString& path, ViewAs as)
{
    return viewer() && viewer()(mainWindow(), path, as);
}

void QtDesktop::setViewer(Viewer v)
{
    viewer() = v;
}

QWidget* QtDesktop::mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible())
            return w;
    return nullptr;
}

void QtDesktop::endProgram(int code)
{
    // The settings store has been written by the caller; nothing else is kept.
    std::_Exit(code);
}
