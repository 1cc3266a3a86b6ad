#pragma once

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;
class QTextBrowser;

// The program's own read-only viewer: a help page, or the trip log, shown over the main
// window when the desktop starts no browser or editor for it. Not modal unless a modal
// dialog is open (the card dialog's help), where it must be to take any input.
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

private:
    frmViewer(QWidget* parent, const QString& path, Format format);
    bool load();

    QString m_path;
    Format m_format;
    QTextBrowser* page = nullptr;   // a help page
    QPlainTextEdit* text = nullptr; // the log: plain text of any length, in a fixed font
    QDialogButtonBox* buttons = nullptr;
};
