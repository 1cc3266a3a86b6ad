#include "dialogs/frmAbout.h"

#include "common/Twips.h"
#include "dialogs/DialogStyle.h"
#include "panels/Artwork.h"
#include "platform/Desktop.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

using DialogStyle::tw;

namespace {

// Nine lines of the text face fit the box without a scroll bar: the text keeps a margin
// at its sides only.
class AboutTextBox : public QPlainTextEdit {
public:
    explicit AboutTextBox(QWidget* parent) : QPlainTextEdit(parent)
    {
        document()->setDocumentMargin(0);
        setViewportMargins(3, 0, 3, 0);
        // The lines wrap at the box's width: a horizontal bar is never needed, and one that
        // came and went with the vertical one would take a line's room.
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
};

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    DialogStyle::frame(this, tr("關於 巴士Pelumo模擬器"), 6000, 5835);
    buildControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    Form_Load();
}

QString frmAbout::aboutText()
{
    const QStringList lines = {
        tr("巴士Pelumo模擬器"),
        tr("版本 1.0 (Revision 1)"),
        QString(),
        QStringLiteral("Copyright © 2026 Quillmere"),
        QString(),
        tr("本程式只供模擬及訓練之用，與任何真實收費系統無關。"),
        tr("程式內的路線、車資及網絡位址均屬虛構。"),
        QString(),
        tr("歡迎經以下網址提出意見。"),
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void frmAbout::buildControls()
{
    txt = new AboutTextBox(this);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setGeometry(tw(150, 3150, 5715, 2025));
    txt->setReadOnly(true);
    DialogStyle::buttonFace(txt);

    lblURL = new QLabel(QStringLiteral("Quillmere - ") + Url, this);
    lblURL->setObjectName(QStringLiteral("lblURL"));
    lblURL->setGeometry(tw(150, 5460, 3540, 240));
    QFont link = DialogStyle::textFont();
    link.setUnderline(true);
    lblURL->setFont(link);
    lblURL->setStyleSheet(QStringLiteral(
        "QLabel { color: rgb(0, 0, 255); background: transparent; border: 1px solid transparent; }"
        "QLabel:focus { border: 1px dotted rgb(0, 0, 255); }"));
    lblURL->setCursor(Qt::PointingHandCursor);
    // Tab reaches the link and Enter or Space opens it; the dotted frame shows the focus.
    lblURL->setFocusPolicy(Qt::StrongFocus);
    lblURL->setAccessibleName(tr("開啟網址 ") + Url);
    lblURL->installEventFilter(this);

    cmdOK = new QPushButton(tr("確定(&O)"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(tw(4575, 5385, 1290, 315));
    cmdOK->setDefault(true);

    lne = new QFrame(this);
    lne->setObjectName(QStringLiteral("lne"));
    lne->setGeometry(twips(150), twips(5310), twips(5775) - twips(150), 1);
    lne->setStyleSheet(QStringLiteral("background: rgb(128, 128, 128);"));

    setTabOrder(txt, lblURL);
    setTabOrder(lblURL, cmdOK);
}

void frmAbout::Form_Load()
{
    m_picture = Artwork::splash();
    // The box shows line breaks, not CR LF pairs; the last line's break opens no line of its own.
    txt->setPlainText(aboutText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).chopped(1));
}

void frmAbout::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.drawPixmap(0, 0, m_picture);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* e)
{
    // A click is a left press let go over the link.
    if (watched == lblURL && e->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton && lblURL->rect().contains(me->position().toPoint())) {
            lblURL_Click();
            return true;
        }
    }
    if (watched == lblURL && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            lblURL_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmAbout::lblURL_Click()
{
    // The about box stays open behind the browser.
    if (!Desktop::instance().openUrl(Url))
        Desktop::instance().warn(tr("不能啟動瀏覽器開啟 %1。").arg(Url));
}

void frmAbout::cmdOK_Click()
{
    close();
}
