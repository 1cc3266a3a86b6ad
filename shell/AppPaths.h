#pragma once

#include <QString>

// Where the program keeps its files: routes.dat, log.txt and temphelp.html.
class AppPaths {
public:
    // The program's own directory; tests point it at a temporary folder.
    static QString programDir();
    static void setProgramDir(const QString& dir);

    static QString routesFile();
    static QString logFile();
    static QString helpFile();
};
