#include "platform/SingleCopy.h"
#include "shell/Desktop.h"
#include "shell/Settings.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);

    // A second copy ends before it reads the settings store or writes anything.
    const SingleCopy single(SingleCopy::defaultPath());
    if (single.result() == SingleCopy::Result::Running) {
        Desktop::instance().info(SingleCopy::runningMessage());
        return 1;
    }

    Settings::load();
    frmMDI main;
    main.Form_Load();
    return app.exec();
}
