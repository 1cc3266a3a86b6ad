#pragma once

#include "platform/Desktop.h"

class QWidget;

// The desktop of the running program: Qt's message boxes and beep, xdg-open for files.
class QtDesktop : public Desktop {
public:
    void warn(const QString& text) override;
    void fatal(const QString& text) override;
    void info(const QString& text) override;
    void warnAndWait(const QString& text) override;
    int ask(const QString& text, const QStringList& buttons, int defaultIndex) override;
    void beep() override;
    bool openFile(const QString& path, std::function<void()> notOpened) override;
    bool openUrl(const QString& url) override;
    bool view(const QString& path, ViewAs as) override;
    void endProgram(int code) override;

    // What view() shows the file in: the program's viewer window, which the start-up code
    // hands in from the dialogs above this layer. Without one, view() shows nothing.
    using Viewer = bool (*)(QWidget* parent, const QString& path, ViewAs as);
    static void setViewer(Viewer viewer);

    // The window message boxes and the viewer stand over: the main window once it shows,
    // none before (a warning while the program starts is centred on the screen).
    static QWidget* mainWindow();
};
