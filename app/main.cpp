#include "shell/frmMDI.h"
#include "shell/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    frmMDI main;
    main.Form_Load();
    return app.exec();
}
