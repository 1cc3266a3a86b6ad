#include "platform/Desktop.h"
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

    Settings::load();
    frmMDI main;
    QObject::connect(&signalClose, &SignalClose::closeRequested, &main,
                     [&main] { main.closeNow(); });
    main.Form_Load();
    signalClose.listen();
    return app.exec();
}
