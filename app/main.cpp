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
    Startup::prepareApplication(app);
    frmMDI main;
    main.Form_Load();
    return app.exec();
}
