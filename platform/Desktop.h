#pragma once

#include <QString>
#include <QStringList>

// Everything that leaves the program: message boxes, the beep, the browser and the editor.
// Tests install a recording stand-in so that nothing blocks and every call can be checked.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Message boxes titled with the application's title and an OK button.
    virtual void warn(const QString& text) = 0;  // exclamation icon
    virtual void fatal(const QString& text) = 0; // stop icon
    virtual void info(const QString& text) = 0;  // information icon
    virtual void beep() = 0;
    // false when no program could be started for it.
    virtual bool openFile(const QString& path) = 0;
    virtual bool openUrl(const QString& url) = 0;
    // Ends the program at once, without the closing steps of the windows.
    virtual void endProgram(int code) = 0;

    static Desktop& instance();
    // Takes ownership; nullptr puts the production desktop back.
    static void install(Desktop* desktop);

    static inline const QString Title = QStringLiteral("巴士Pelumo機模擬器");
};

class QtDesktop : public Desktop {
public:
    void warn(const QString& text) override;
    void fatal(const QString& text) override;
    void info(const QString& text) override;
    void beep() override;
    bool openFile(const QString& path) override;
    bool openUrl(const QString& url) override;
    void endProgram(int code) override;
};
