#pragma once

#include <QString>

// Where the program keeps its files: routes.dat, log.txt and temphelp.html.
//
// The build's copy, or a copy of the build directory anywhere, keeps all three next to the
// program. An installed copy, under whatever prefix and whether or not its directory can
// be written, writes log.txt and temphelp.html to the per-user data directory instead,
// and reads routes.dat from there when the user has put one there, otherwise the one
// installed next to the program.
class AppPaths {
public:
    // The program's own directory; tests point it at a temporary folder.
    static QString programDir();
    static void setProgramDir(const QString& dir);

    // The per-user data directory, ~/.local/share/Quillmere/pelumo on Linux; tests point
    // it at a temporary folder.
    static QString userDataDir();
    static void setUserDataDir(const QString& dir);

    // The directory log.txt and temphelp.html go to. When that is the per-user data
    // directory, it is created first.
    static QString writeDir();

    static QString routesFile();
    static QString logFile();
    static QString helpFile();
    // Where the trip log's blocks that log.txt did not take by the program's end wait for
    // the next start: beside the settings store, which is the user's own whatever the
    // program directory is.
    static QString keptLogFile();
    // The event journal: in a folder of its own in the per-user data directory, beside
    // nothing the user edits, whether installed or not.
    static QString journalFile();

    // `cmake --install` puts this file next to the program; the build does not. A prefix
    // compiled in would miss `--prefix` given at install time and a relocated package.
    static inline const QString InstalledMarker = QStringLiteral("installed");
    static bool installed();

    // The decision alone, given what the file system says.
    struct Choice {
        QString writeDir;
        QString routesFile;
    };
    static Choice choose(const QString& programDir, const QString& userDir, bool installed,
                         bool userRoutesExist);

    // Whether a file can be created in `dir`. Tried rather than read off the permission
    // bits, which do not stop root, nor tell of a read-only mount.
    static bool canCreateFilesIn(const QString& dir);
};
