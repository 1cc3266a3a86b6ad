#include "platform/Desktop.h"
#include "platform/InterfaceLanguage.h"
#include "platform/Settings.h"
#include "platform/SignalClose.h"
#include "platform/SingleCopy.h"
#include "shell/QtDesktop.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Before QApplication, which needs a display: --help and --version answer without one.
    const Startup::CommandLine commandLine = Startup::readCommandLine(argc, argv);
    if (!commandLine.run) {
        std::fputs(commandLine.text.toUtf8().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    // First of all, so that a signal from here on closes the window as 結束 does (it is
    // delivered once the event loop runs) instead of ending the program on the spot. Nobody
    // may be there to answer a question, so it closes without asking about the trip log.
    SignalClose signalClose;
    // Listened to from here on, also while a box of the start waits for the user: before
    // the window stands there is nothing to save, and the start just ends; the window then
    // closes as on 結束, and ends its start if it is still under way.
    frmMDI* window = nullptr;
    bool signalled = false;
    QObject::connect(&signalClose, &SignalClose::closeRequested, &app, [&window, &signalled] {
        signalled = true;
        if (window)
            window->closeNow();
        else
            QCoreApplication::exit(0);
    });
    signalClose.listen();
    Desktop::install(new QtDesktop);
    Startup::prepareApplication(app);

    // A second copy ends before it reads the settings store or writes anything.
    const SingleCopy single(SingleCopy::defaultPath());
    if (single.result() == SingleCopy::Result::Running) {
        Desktop::instance().info(SingleCopy::runningMessage());
        return 1;
    }
    if (single.unusable())
        Desktop::instance().warn(single.unusableMessage());
    else if (single.result() == SingleCopy::Result::Unavailable)
        qWarning("pelumo: no lock against a second copy: %s", qUtf8Printable(single.error()));
    if (signalled)
        return 0;

    Settings::load();
    InterfaceLanguage::apply(Settings::uiLanguage());
    frmMDI main;
    window = &main;
    main.Form_Load();
    if (main.unloaded())
        return 0;
    return app.exec();
}
