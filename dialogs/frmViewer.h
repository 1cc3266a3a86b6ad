#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextBrowser;
class QTextCursor;

// The program's own read-only viewer: a help page, or the trip log (its last MiB when it is
// longer), shown over the main
// window when the desktop starts no browser or editor for it. Not modal unless a modal
// dialog is open (the card dialog's help), where it must be to take any input. Ctrl+F opens
// a find field, F3 and Shift+F3 go to the next and the previous match, Esc closes the field
// and then the viewer.
class frmViewer : public QDialog {
    Q_OBJECT
public:
    enum class Format { Html, PlainText };

    // Shows `path` in a viewer over `parent`: the one already showing that file, read
    // again, or a new one. nullptr, and no window, when the file cannot be read.
    static frmViewer* showFile(QWidget* parent, const QString& path, Format format);

    QString path() const { return m_path; }
    Format format() const { return m_format; }
    // What the reader sees, as plain text.
    QString shownText() const;
    // The text the find marked, empty when none.
    QString foundText() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    frmViewer(QWidget* parent, const QString& path, Format format);
    bool load();
    void retranslate();
    void openFind();
    void find(bool backward);
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor& at); // and scrolled to

    QString m_path;
    QString m_title; // the page's own title, or the file's name
    Format m_format;
    QTextBrowser* page = nullptr;   // a help page
    QLabel* note = nullptr;         // says when only the end of a long log is shown
    QPlainTextEdit* text = nullptr; // the log: plain text, in a fixed font
    QDialogButtonBox* buttons = nullptr;
    QWidget* findBar = nullptr;
    QLineEdit* findText = nullptr;
    QLabel* findStatus = nullptr;
};
