#include "bcp/frmBCP.h"

#include "bcp/StoredCard.h"
#include "common/Artwork.h"
#include "common/Clock.h"
#include "common/Numbers.h"
#include "common/Placement.h"
#include "common/Timer.h"
#include "common/Yield.h"
#include "ddu/frmDDU.h"

#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

namespace {

QRect tw(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

QLabel* makeLabel(const QString& name, QWidget* parent, const QRect& r, const QFont& font,
                  Qt::Alignment align)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(r);
    l->setFont(font);
    l->setAlignment(align);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

} // namespace

PictureBox::PictureBox(const QString& name, const QColor& back, QWidget* parent)
    : QWidget(parent), m_back(back)
{
    setObjectName(name);
    // Movements over the screen and the lamps are the panel's own, not its background's.
    setMouseTracking(true);
}

void PictureBox::setBackColor(const QColor& c)
{
    if (c == m_back)
        return;
    m_back = c;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
}

CardReader::CardReader(frmBCP* owner, QWidget* parent) : QWidget(parent), m_owner(owner)
{
    setObjectName(QStringLiteral("imgCard"));
    setMouseTracking(true);
    setCursor(Qt::BlankCursor); // only the card picture is seen over the reader
}

void CardReader::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF p = e->position();
    m_owner->imgCard_MouseMove(p.x() * 15.0, p.y() * 15.0);
    e->accept();
}

frmBCP::frmBCP(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmBCP"));
    setWindowTitle(QStringLiteral("乘客處理機"));
    setFixedSize(twips(3375), twips(5130));
    setMouseTracking(true);
    m_front = std::make_unique<Artwork>(QStringLiteral("bcp_front"), QSize(225, 350),
                                        QColor(160, 160, 160));
    buildControls();

    tmrStart = new Timer(QStringLiteral("tmrStart"), 1000, true, this);
    tmrStart->setTag(QStringLiteral("0"));
    tmrLoadLong = new Timer(QStringLiteral("tmrLoadLong"), 15000, false, this);
    tmrCount = new Timer(QStringLiteral("tmrCount"), 1000, false, this);
    tmrLock = new Timer(QStringLiteral("tmrLock"), 15000, false, this);
    tmrChange = new Timer(QStringLiteral("tmrChange"), 2000, false, this);
    connect(tmrStart, &Timer::tick, this, &frmBCP::tmrStart_Timer);
    connect(tmrLoadLong, &Timer::tick, this, &frmBCP::tmrLoadLong_Timer);
    connect(tmrCount, &Timer::tick, this, &frmBCP::tmrCount_Timer);
    connect(tmrLock, &Timer::tick, this, &frmBCP::tmrLock_Timer);
    connect(tmrChange, &Timer::tick, this, &frmBCP::tmrChange_Timer);

    Form_Load();
}

frmBCP::~frmBCP() = default;

void frmBCP::buildControls()
{
    QFont lineFont(QStringLiteral("Arial Narrow"));
    lineFont.setPointSizeF(14.25);
    lineFont.setBold(true);
    QFont smallFont(QStringLiteral("Arial"));
    smallFont.setPointSizeF(8.25);

    picLayer = new PictureBox(QStringLiteral("picLayer"), QColor(133, 219, 133), this);
    picLayer->setGeometry(tw(600, 675, 2115, 1065));
    lbl1 = makeLabel(QStringLiteral("lbl1"), picLayer, tw(0, 0, 2100, 390), lineFont,
                     Qt::AlignHCenter | Qt::AlignTop);
    lbl2 = makeLabel(QStringLiteral("lbl2"), picLayer, tw(0, 300, 2100, 390), lineFont,
                     Qt::AlignHCenter | Qt::AlignTop);
    lbl3 = makeLabel(QStringLiteral("lbl3"), picLayer, tw(0, 600, 2100, 390), lineFont,
                     Qt::AlignHCenter | Qt::AlignTop);
    lbl1->setText(QStringLiteral("PRESENT YOUR"));
    lbl2->setText(QStringLiteral("CARD TO LOGIN"));
    lbl3->setText(QStringLiteral("請使用卡登入"));

    picLoad = new PictureBox(QStringLiteral("picLoad"), QColor(131, 219, 133), picLayer);
    picLoad->setGeometry(tw(75, 0, 1965, 990));
    struct B {
        const char* text;
        int l, t, w, h;
    };
    const B b[5] = {{"BCP Version: 1.0", 75, 0, 1515, 165},
                    {"DDU Version: 1.0", 75, 150, 1515, 165},
                    {"Machine Address:", 300, 375, 1440, 165},
                    {"BCP Address: 127.0.0.1", 75, 600, 1815, 165},
                    {"DDU Address: Getting...", 75, 750, 1815, 240}};
    for (int i = 0; i < 5; ++i) {
        lblB[i] =
            makeLabel(QStringLiteral("lblB_%1").arg(i), picLoad, tw(b[i].l, b[i].t, b[i].w, b[i].h),
                      smallFont, Qt::AlignLeft | Qt::AlignTop);
        lblB[i]->setText(QString::fromLatin1(b[i].text));
    }
    Line1 = new QFrame(picLoad);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(twips(75), twips(600) - 1, twips(1875) - twips(75), 1);
    Line1->setStyleSheet(QStringLiteral("background: black;"));
    picLoad->hide();

    picCover = new PictureBox(QStringLiteral("picCover"), QColor(64, 64, 64), this);
    picCover->setGeometry(tw(675, 675, 1950, 990));
    picCover->hide();

    picRed = new PictureBox(QStringLiteral("picRed"), RedOff, this);
    picRed->setGeometry(tw(850, 2250, 315, 315));
    picYellow = new PictureBox(QStringLiteral("picYellow"), YellowOff, this);
    picYellow->setGeometry(tw(1480, 2250, 315, 315));
    picGreen = new PictureBox(QStringLiteral("picGreen"), GreenOff, this);
    picGreen->setGeometry(tw(2100, 2250, 315, 315));

    imgMCard = new QLabel(this);
    imgMCard->setObjectName(QStringLiteral("imgMCard"));
    imgMCard->setGeometry(tw(150, 3000, 2985, 1830));
    imgMCard->setPixmap(
        Artwork::render(QStringLiteral("card"), imgMCard->size(), 1.0, Qt::transparent));
    imgMCard->setAttribute(Qt::WA_TransparentForMouseEvents);
    imgMCard->hide();

    // The reader lies over the card picture so that it keeps receiving the movements.
    imgCard = new CardReader(this, this);
    imgCard->setGeometry(tw(150, 2925, 3015, 1965));
    imgCard->raise();
}

int frmBCP::Top() const
{
    return Placement::top(this);
}

void frmBCP::setTop(int tw)
{
    Placement::setTop(this, tw);
}

int frmBCP::Left() const
{
    return Placement::left(this);
}

void frmBCP::setLeft(int tw)
{
    Placement::setLeft(this, tw);
}

int frmBCP::Width() const
{
    return Placement::outerWidth(this);
}

void frmBCP::connectWindows(frmDDU* ddu, frmMDI* mdi)
{
    m_ddu = ddu;
    m_mdi = mdi;
}

void frmBCP::paintEvent(QPaintEvent*)
{
    // The picture is 225 x 350; the panel shows its top 342 rows.
    QPainter p(this);
    p.drawPixmap(QPointF(0, 0), m_front->pixmap(devicePixelRatioF()));
}

void frmBCP::mouseMoveEvent(QMouseEvent* e)
{
    // Movements over the screen and the lamps are not over the background.
    if (!childAt(e->position().toPoint()))
        Form_MouseMove();
    e->accept();
}

void frmBCP::Form_MouseMove()
{
    imgMCard->hide();
}

void frmBCP::Form_Load()
{
    ScreenState = 2;
    const StoredCard::Values card = StoredCard::load();
    PurseValue = card.purse;
    CardType = card.type;
    Language = card.language;
    Fare = 0;
    HalfFare = QVariant();
    lbl1->setText(QString());
    lbl2->setText(QString());
    lbl3->setText(QString());
}

void frmBCP::Form_QueryUnload()
{
    StoredCard::save(PurseValue, CardType, Language);
}

double frmBCP::purseNumber() const
{
    if (PurseValue.typeId() == QMetaType::QString)
        return Numbers::leadingNumber(PurseValue.toString());
    return PurseValue.toDouble();
}

double frmBCP::fareNumber() const
{
    if (Fare.typeId() == QMetaType::QString)
        return Numbers::parseDecimal(Fare.toString()).value_or(0.0);
    return Fare.toDouble();
}

double frmBCP::halfFareNumber() const
{
    return HalfFare.isValid() ? HalfFare.toDouble() : 0.0;
}

void frmBCP::setLamps(Lamps pattern)
{
    const bool red = pattern == Lamps::AllOn || pattern == Lamps::RedOnly;
    const bool yellow = pattern == Lamps::AllOn || pattern == Lamps::YellowGreen;
    const bool green =
        pattern == Lamps::AllOn || pattern == Lamps::GreenOnly || pattern == Lamps::YellowGreen;
    picRed->setBackColor(red ? RedOn : RedOff);
    picYellow->setBackColor(yellow ? YellowOn : YellowOff);
    picGreen->setBackColor(green ? GreenOn : GreenOff);
}

void frmBCP::showLines(bool visible)
{
    lbl1->setVisible(visible);
    lbl2->setVisible(visible);
    lbl3->setVisible(visible);
}

void frmBCP::consoleMessage(const QString& text)
{
    if (!m_ddu)
        return;
    m_ddu->setLines(QStringLiteral(" "), text, QString(), QString());
}

void frmBCP::restoreConsoleLines()
{
    if (!m_ddu)
        return;
    // While the console prompts the driver its line 1 is empty: leave the prompt alone.
    if (!m_ddu->lblLine1->text().isEmpty()) {
        m_ddu->lblLine1->setText(m_ddu->lblOrgLine1->text());
        m_ddu->lblLine2->setText(m_ddu->lblOrgLine2->text());
        m_ddu->lblLine3->setText(m_ddu->lblOrgLine3->text());
    }
    m_ddu->lblLine4->setText(QString());
}

void frmBCP::log(const QString& text)
{
    if (m_ddu)
        m_ddu->Log(Clock::timeText() + text);
}

void frmBCP::tmrChange_Timer()
{
    if (NoResponse)
        return;
    showLines(false);
    yieldEvents(); // paint the empty screen: every display change blinks once
    switch (ScreenState) {
    case 0:
        outOfServiceDisplay();
        break;
    case 1:
    case 2:
        showIdle(ScreenState);
        break;
    case 3:
        readCard();
        break;
    case 5:
        promptLines();
        setLamps(Lamps::AllOff);
        tmrChange->setEnabled(false);
        tmrChange->setInterval(2000);
        break;
    case 6:
        ScreenState = 5;
        lbl1->setText(QStringLiteral("此卡無效　　"));
        lbl2->setText(QString());
        lbl3->setText(QString());
        setLamps(Lamps::RedOnly);
        tmrChange->restart();
        tmrChange->setInterval(1000);
        break;
    case 7:
        tmrChange->setInterval(2000);
        tmrChange->setEnabled(false);
        tmrStart->setTag(QStringLiteral("S3"));
        tmrStart->setEnabled(true);
        break;
    default:
        break;
    }
    showLines(true);
}
