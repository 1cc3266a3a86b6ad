#include "shell/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <cstdlib>

namespace {

// How long an opener has to report that it opened nothing.
constexpr qint64 OpenerVerdictMs = 10000;

QtDesktop::Viewer& viewer()
{
    static QtDesktop::Viewer v = nullptr;
    return v;
}

void box(QMessageBox::Icon icon, const QString& text)
{
    // With a parent, the box opens centred on it and stays above it.
    QMessageBox mb(icon, Desktop::title(), text, QMessageBox::Ok, QtDesktop::mainWindow());
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

void QtDesktop::warnAndWait(const QString& text)
{
    box(QMessageBox::Warning, text);
}

void QtDesktop::info(const QString& text)
{
    box(QMessageBox::Information, text);
}

int QtDesktop::ask(const QString& text, const QStringList& buttons, int defaultIndex)
{
    QMessageBox mb(QMessageBox::Question, Desktop::title(), text, QMessageBox::NoButton,
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

bool QtDesktop::openFile(const QString& path, std::function<void()> notOpened)
{
    // xdg-open run as our own child, since Qt's opener reports success as soon as xdg-open
    // starts, even when it then finds no browser or editor and opens nothing. It is
    // started without a shell, the path its one argument, and never waited for: in a
    // desktop without its own opener it runs as long as the browser it starts.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    auto* process = new QProcess(qApp);
    process->setProgram(opener);
    process->setArguments({path});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QElapsedTimer running;
    running.start();
    const auto ended = [process, running, notOpened = std::move(notOpened)](bool failed) {
        process->disconnect();
        process->deleteLater();
        // Long after it started, whatever it started has been on screen; how that ends
        // says nothing about whether the file was opened.
        if (failed && running.elapsed() < OpenerVerdictMs && notOpened)
            notOpened();
    };
    QObject::connect(process, &QProcess::errorOccurred, process, [ended](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            ended(true);
    });
    // xdg-open ends with 3 or 4 when it found nothing to open the file with, 1 or 2 when it
    // was used wrongly.
    QObject::connect(process, &QProcess::finished, process,
                     [ended](int code, QProcess::ExitStatus status) {
                         ended(status != QProcess::NormalExit || code != 0);
                     });
    process->start();
    return true;
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
