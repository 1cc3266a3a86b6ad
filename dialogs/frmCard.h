#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CardProcessor;

// The card settings dialog: the simulated card's type, language and value. Every change
// goes straight into the card processor; the dialog keeps nothing of its own.
class frmCard : public QDialog {
    Q_OBJECT
public:
    explicit frmCard(CardProcessor& processor, QWidget* parent = nullptr);

    static constexpr const char* TopUpRefusedText =
        QT_TR_NOOP("增值無效：Pelumo咭剩餘值最大額為 $999.90");
    static inline const QString TopUpRefused = QString::fromUtf8(TopUpRefusedText);

public slots:
    // Esc comes here: it closes as 關閉 does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void Form_Load();
    void cobType_Click();
    void optChinese_Click();
    void optEnglish_Click();
    void cmdAdd_Click();
    void cmdHelp_Click();
    void cmdClose_Click();
    void Form_QueryUnload();

    CardProcessor& m_processor;
    QLabel* lbl[4] = {};
    QPushButton* cmdClose = nullptr;
    QComboBox* cobType = nullptr;
    QRadioButton* optChinese = nullptr;
    QRadioButton* optEnglish = nullptr;
    QLineEdit* txtValue = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdHelp = nullptr;
};
