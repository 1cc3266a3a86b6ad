#include "panels/frmBCP.h"

#include "bcp/CardProcessor.h"
#include "common/Twips.h"
#include "panels/Accessibility.h"
#include "panels/Artwork.h"
#include "panels/PictureBox.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QRegion>

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

// The reader target: no picture of its own and an invisible pointer; every pointer
// movement over it presents the card there, in twips from its top-left corner.
class CardReader : public QWidget {
public:
    CardReader(CardProcessor& model, QWidget* parent) : QWidget(parent), m_model(model)
    {
        setObjectName(QStringLiteral("imgCard"));
        setMouseTracking(true);
        setCursor(Qt::BlankCursor); // only the card picture is seen over the reader
    }

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPointF p = e->position();
        m_model.present(p.x() * TwipsPerPixel, p.y() * TwipsPerPixel);
        e->accept();
    }

private:
    CardProcessor& m_model;
};

} // namespace

frmBCP::frmBCP(CardProcessor& model, QWidget* parent)
    : DevicePanel(QStringLiteral("frmBCP"), QStringLiteral("乘客處理機"), 3375, 5130,
                  QStringLiteral("bcp_front"), QSize(225, 350), QColor(160, 160, 160), parent),
      m_model(model)
{
    buildControls();
    connect(&m_model, &CardProcessor::screenChanged, this, &frmBCP::showScreen);
    connect(&m_model, &CardProcessor::lampsChanged, this, &frmBCP::showLamps);
    connect(&m_model, &CardProcessor::cardChanged, this, &frmBCP::showCard);
    connect(this, &DevicePanel::pointerOnBackground, &m_model, &CardProcessor::withdraw);
    showScreen();
    showLamps();
    showCard();
}

frmBCP::~frmBCP() = default;

void frmBCP::buildControls()
{
    QFont lineFont(QStringLiteral("Arial Narrow"));
    lineFont.setPointSizeF(14.25);
    lineFont.setBold(true);
    QFont smallFont(QStringLiteral("Arial"));
    smallFont.setPointSizeF(8.25);

    m_picLayer = new PictureBox(QStringLiteral("picLayer"), QColor(133, 219, 133), this);
    m_picLayer->setGeometry(tw(600, 675, 2115, 1065));
    for (int i = 0; i < 3; ++i) {
        m_lines[i] =
            makeLabel(QStringLiteral("lbl%1").arg(i + 1), m_picLayer, tw(0, 300 * i, 2100, 390),
                      lineFont, Qt::AlignHCenter | Qt::AlignTop);
        // The line's text is its accessible name, announced whenever it changes.
        m_lines[i]->setAccessibleDescription(QStringLiteral("乘客處理機顯示屏第 %1 行").arg(i + 1));
    }

    m_picLoad = new PictureBox(QStringLiteral("picLoad"), QColor(131, 219, 133), m_picLayer);
    m_picLoad->setGeometry(tw(75, 0, 1965, 990));
    struct B {
        const char* text;
        int l, t, w, h;
    };
    const B b[4] = {{"BCP Version: 1.0", 75, 0, 1515, 165},
                    {"DDU Version: 1.0", 75, 150, 1515, 165},
                    {"Machine Address:", 300, 375, 1440, 165},
                    {"BCP Address: 127.0.0.1", 75, 600, 1815, 165}};
    for (int i = 0; i < 4; ++i)
        makeLabel(QStringLiteral("lblB_%1").arg(i), m_picLoad, tw(b[i].l, b[i].t, b[i].w, b[i].h),
                  smallFont, Qt::AlignLeft | Qt::AlignTop)
            ->setText(QString::fromLatin1(b[i].text));
    m_address = makeLabel(QStringLiteral("lblB_4"), m_picLoad, tw(75, 750, 1815, 240), smallFont,
                          Qt::AlignLeft | Qt::AlignTop);
    auto* rule = new QFrame(m_picLoad);
    rule->setObjectName(QStringLiteral("Line1"));
    rule->setGeometry(twips(75), twips(600) - 1, twips(1875) - twips(75), 1);
    rule->setStyleSheet(QStringLiteral("background: black;"));

    m_picCover = new PictureBox(QStringLiteral("picCover"), QColor(64, 64, 64), this);
    // The lamp test darkens the whole screen, edge to edge.
    m_picCover->setGeometry(m_picLayer->geometry());

    m_picRed = new PictureBox(QStringLiteral("picRed"), RedOff, this);
    m_picRed->setGeometry(tw(850, 2250, 315, 315));
    m_picYellow = new PictureBox(QStringLiteral("picYellow"), YellowOff, this);
    m_picYellow->setGeometry(tw(1480, 2250, 315, 315));
    m_picGreen = new PictureBox(QStringLiteral("picGreen"), GreenOff, this);
    m_picGreen->setGeometry(tw(2100, 2250, 315, 315));

    m_imgMCard = new QLabel(this);
    m_imgMCard->setObjectName(QStringLiteral("imgMCard"));
    m_imgMCard->setGeometry(tw(150, 3000, 2985, 1830));
    m_imgMCard->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The reader lies over the card picture so that it keeps receiving the movements.
    m_imgCard = new CardReader(m_model, this);
    m_imgCard->setGeometry(tw(150, 2925, 3015, 1965));
    m_imgCard->raise();
}

void frmBCP::showScreen()
{
    for (int i = 0; i < 3; ++i) {
        m_lines[i]->setText(m_model.line(i));
        m_lines[i]->setVisible(m_model.linesShown());
    }
    m_address->setText(m_model.consoleAddress());
    m_picLoad->setVisible(m_model.addressScreenShown());
    m_picCover->setVisible(m_model.coverShown());
    m_picLayer->setVisible(m_model.switchedOn());
}

void frmBCP::showLamps()
{
    const Lamps l = m_model.lamps();
    auto show = [](PictureBox* lamp, const QString& colour, bool lit, const QColor& on,
                   const QColor& off) {
        lamp->setBackColor(lit ? on : off);
        const QString state = lit ? QStringLiteral("亮") : QStringLiteral("熄");
        Accessibility::describe(
            lamp, QStringLiteral("%1燈（%2）").arg(colour, state),
            QStringLiteral("乘客處理機的%1色指示燈，現時%2").arg(colour, state));
    };
    show(m_picRed, QStringLiteral("紅"), l.red, RedOn, RedOff);
    show(m_picYellow, QStringLiteral("黃"), l.yellow, YellowOn, YellowOff);
    show(m_picGreen, QStringLiteral("綠"), l.green, GreenOn, GreenOff);
}

void frmBCP::showCard()
{
    // The card sits 25 twips right of and below the pointer, so the pointer never rests
    // on it and the reader keeps receiving the movements.
    const QPointF at = m_model.cardAt();
    const QPoint reader = m_imgCard->pos();
    m_imgMCard->move(reader.x() + qRound(twipsExact(at.x() + 25.0)),
                     reader.y() + qRound(twipsExact(at.y() + 25.0)));
    // Only the part over the reader shows: the card never hangs past the panel's edge.
    m_imgMCard->setMask(QRegion(m_imgCard->geometry().translated(-m_imgMCard->pos())));
    // The picture is made when the card is first presented, not at start-up.
    if (m_model.cardShown() && m_imgMCard->pixmap().isNull())
        m_imgMCard->setPixmap(Artwork::render(QStringLiteral("card"), m_imgMCard->size(),
                                              m_imgMCard->devicePixelRatioF(), Qt::transparent));
    m_imgMCard->setVisible(m_model.cardShown());
}
