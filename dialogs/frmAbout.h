#pragma once

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The about box: name, version and notices over the splash picture, and the maker's link.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Lines joined by CR LF, the last one ending in CR LF too.
    static QString aboutText();

    static inline const QString Url = QStringLiteral("https://quillmere.example");

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void Form_Load();
    void lblURL_Click();
    void cmdOK_Click();

    QPlainTextEdit* txt = nullptr;
    QLabel* lblURL = nullptr;
    QPushButton* cmdOK = nullptr;
    QFrame* lne = nullptr;
    QPixmap m_picture;
};
