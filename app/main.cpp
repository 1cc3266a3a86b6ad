#include "shell/Settings.h"
#include "shell/Startup.h"
#include "shell/frmMDI.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    // Read once, before any window: a store that cannot be used is warned about first.
    Settings::load();
    frmMDI main;
    main.Form_Load();
    return app.exec();
}
