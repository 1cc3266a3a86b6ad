#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

// Everything that leaves the program: message boxes, the beep, the browser and the editor,
// and the program's own viewer that stands in for the last two. Tests install a recording
// stand-in so that nothing blocks and every call can be checked.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Message boxes titled with the application's title and an OK button, over the main
    // window. A warning returns at once and shows once the current step is over, so a
    // step that warns is never interrupted; the other two wait for the user.
    virtual void warn(const QString& text) = 0;  // exclamation icon
    virtual void fatal(const QString& text) = 0; // stop icon
    virtual void info(const QString& text) = 0;  // information icon
    // A warning that waits for the user: at the program's end, where no step follows that
    // a queued one could show after.
    virtual void warnAndWait(const QString& text) { warn(text); }
    // A question with a button for each answer, over the main window; waits for the user
    // and returns the index of the button chosen. The default button is also the answer
    // to Esc or to closing the box.
    virtual int ask(const QString& text, const QStringList& buttons, int defaultIndex) = 0;
    virtual void beep() = 0;
    // Hands the file to the desktop's browser or editor; false when no opener could be
    // started. An opener that starts may still find nothing to open the file with: then
    // `notOpened` runs, a moment later and outside whatever step asked, so that the caller
    // can show the file another way.
    virtual bool openFile(const QString& path, std::function<void()> notOpened) = 0;
    virtual bool openUrl(const QString& url) = 0;
    // Shows the file in the program's own read-only viewer over the main window, for when
    // openFile() opened nothing; false when the file cannot be read.
    enum class ViewAs { Page, Text };
    virtual bool view(const QString& path, ViewAs as) = 0;
    // The browser or the editor, else the own viewer, else the warning `failure`: at once
    // when no opener starts, later when one starts and opens nothing. false when the file
    // is known at once not to be shown.
    static bool openOrView(const QString& path, ViewAs as, const QString& failure);
    // Ends the program at once, without the closing steps of the windows.
    virtual void endProgram(int code) = 0;

    // Until the program installs its own, messages go to the standard error stream and
    // nothing opens.
    static Desktop& instance();
    // Takes ownership; nullptr puts the plain one back.
    static void install(Desktop* desktop);

    // The program's title as written, and as shown in the interface's language.
    static constexpr const char* TitleText = QT_TRANSLATE_NOOP("Desktop", "巴士Pelumo機模擬器");
    static inline const QString Title = QString::fromUtf8(TitleText);
    static QString title();
};
