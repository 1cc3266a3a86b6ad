#include "dialogs/frmCard.h"

#include "bcp/CardProcessor.h"
#include "common/Yield.h"
#include "dialogs/DialogStyle.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/HelpPages.h"
#include "platform/InterfaceLanguage.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

using DialogStyle::tw;

frmCard::frmCard(CardProcessor& processor, QWidget* parent)
    : QDialog(parent), m_processor(processor)
{
    setObjectName(QStringLiteral("frmCard"));
    DialogStyle::frame(this, tr("Pelumo咭設定"), 4320, 2445);
    buildControls();

    connect(cobType, &QComboBox::currentIndexChanged, this, &frmCard::cobType_Click);
    connect(optChinese, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optChinese_Click();
    });
    connect(optEnglish, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optEnglish_Click();
    });
    connect(cmdAdd, &QPushButton::clicked, this, &frmCard::cmdAdd_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmCard::cmdHelp_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmCard::cmdClose_Click);

    Form_Load();
}

void frmCard::buildControls()
{
    // A label's access key takes the focus to the control it names, and assistive
    // technology names that control by the label.
    auto label = [this](int index, const QString& text, const QRect& r, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QStringLiteral("lbl_%1").arg(index));
        l->setGeometry(r);
        l->setBuddy(buddy);
        lbl[index] = l;
        return l;
    };
    auto button = [this](const char* name, const QString& text, const QRect& r) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(r);
        return b;
    };

    // Created in tab order, so focus moves through them as listed.
    QLabel* intro =
        label(0, tr("使用Pelumo咭設定功能以設計Pelumo咭之類型、語言及剩餘值。"),
              tw(75, 150, 4170, 525), nullptr); // as much room on the right as on the left
    intro->setWordWrap(true);
    intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdClose = button("cmdClose", tr("關閉(&C)"), tw(1650, 2025, 1290, 315));
    cmdClose->setDefault(true);

    // The labels take the room their proportional Latin letters need; the boxes beside
    // them stand a little further right, still ending where the buttons begin.
    cobType = new QComboBox(this);
    cobType->setObjectName(QStringLiteral("cobType"));
    cobType->setGeometry(tw(1560, 675, 1380, 300));
    cobType->addItems({tr("成人"), tr("小童"), tr("學童"), tr("長者"), tr("開機卡")});
    // Widened for the longest entry where a translation is longer than the list's place.
    cobType->resize(std::max(cobType->width(), cobType->sizeHint().width()), cobType->height());
    label(1, tr("&Pelumo咭類別："), tw(75, 750, 1440, 240), cobType);

    // The choices start where the boxes do, leaving the label room for its access key.
    optChinese = new QRadioButton(tr("中文(&Z)"), this);
    optChinese->setObjectName(QStringLiteral("optChinese"));
    optChinese->setGeometry(tw(1560, 1125, 990, 240));
    optChinese->setChecked(true);
    optEnglish = new QRadioButton(tr("英文(&E)"), this);
    optEnglish->setObjectName(QStringLiteral("optEnglish"));
    optEnglish->setGeometry(tw(2685, 1125, 990, 240));
    // A longer name than the Chinese one may take the room up to the next choice.
    optChinese->resize(std::clamp(optChinese->sizeHint().width(), optChinese->width(),
                                  optEnglish->x() - optChinese->x()),
                       optChinese->height());
    label(2, tr("介面語言(&L)："), tw(75, 1125, 1440, 240), optChinese);

    txtValue = new QLineEdit(QStringLiteral("0.00"), this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    txtValue->setGeometry(tw(1560, 1500, 1380, 300));
    txtValue->setReadOnly(true);
    DialogStyle::buttonFace(txtValue);
    label(3, tr("剩餘值(&V)：$"), tw(75, 1500, 1440, 240), txtValue);
    txtValue->setAccessibleName(tr("剩餘值")); // without the access key

    // In line with 說明 below, clear of the value box.
    cmdAdd = button("cmdAdd", tr("增值一百元(&A)"), tw(2970, 1500, 1275, 315));
    cmdHelp = button("cmdHelp", tr("說明(&H)"), tw(2970, 2025, 1275, 315));

    setTabOrder(cmdClose, cobType);
    setTabOrder(cobType, optChinese);
    setTabOrder(optChinese, optEnglish);
    setTabOrder(optEnglish, txtValue);
    setTabOrder(txtValue, cmdAdd);
    setTabOrder(cmdAdd, cmdHelp);
    cobType->setFocus(); // the card type is what the dialog is opened for most
}

void frmCard::Form_Load()
{
    if (m_processor.language() == CardLanguage::English)
        optEnglish->setChecked(true); // its handler writes the 1 back
    cobType->setCurrentIndex(int(m_processor.cardType()));
    cobType_Click(); // the same code goes back, as a fresh selection would write it
    txtValue->setText(m_processor.purse().text());
}

void frmCard::cobType_Click()
{
    if (cobType->currentIndex() >= 0)
        m_processor.setCardType(CardType(cobType->currentIndex()));
}

void frmCard::optChinese_Click()
{
    m_processor.setLanguage(CardLanguage::Chinese);
}

void frmCard::optEnglish_Click()
{
    m_processor.setLanguage(CardLanguage::English);
}

void frmCard::cmdAdd_Click()
{
    if (!m_processor.topUp()) {
        Desktop::instance().warn(tr(TopUpRefusedText));
        return;
    }
    txtValue->setText(m_processor.purse().text());
}

void frmCard::cmdHelp_Click()
{
    HelpPages::show(HelpPages::Page::Card, InterfaceLanguage::current());
}

void frmCard::Form_QueryUnload()
{
    // The card page is only wanted while the dialog is open; it may well not exist.
    QFile::remove(AppPaths::helpFile());
    yieldEvents();
}

void frmCard::cmdClose_Click()
{
    close(); // the clean-up is the same for every way of closing
}

void frmCard::reject()
{
    cmdClose_Click();
}

void frmCard::closeEvent(QCloseEvent* e)
{
    Form_QueryUnload();
    // done() ends exec() without going through reject(), which leads back here.
    if (isVisible())
        done(QDialog::Rejected);
    e->accept();
}
