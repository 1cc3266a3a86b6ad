#include "platform/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMessageBox>
#include <QUrl>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<Desktop>& current()
{
    static std::unique_ptr<Desktop> desktop;
    return desktop;
}

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

Desktop& Desktop::instance()
{
    if (!current())
        current() = std::make_unique<QtDesktop>();
    return *current();
}

void Desktop::install(Desktop* desktop)
{
    current().reset(desktop);
}

void QtDesktop::warn(const QString& text)
{
    box(QMessageBox::Warning, text);
}

void QtDesktop::fatal(const QString& text)
{
    box(QMessageBox::Critical, text);
}

void QtDesktop::info(const QString& text)
{
    box(QMessageBox::Information, text);
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
    // Everything worth keeping is already on disk: the settings store writes through.
    std::_Exit(code);
}
