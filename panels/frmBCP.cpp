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

#include <algorithm>

namespace {

template <class Label = QLabel>
Label* makeLabel(const QString& name, QWidget* parent, const QFont& font, Qt::Alignment align)
{
    auto* l = new Label(parent);
    l->setObjectName(name);
    l->setFont(font);
    l->setAlignment(align);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

// The reader target: no picture of its own and an invisible pointer; every pointer
// movement over it presents the card there, in twips from its top-left corner, whatever
// the zoom.
class CardReader : public QWidget {
public:
    CardReader(CardProcessor& model, DevicePanel* parent)
        : QWidget(parent), m_model(model), m_panel(parent)
    {
        setObjectName(QStringLiteral("imgCard"));
        setMouseTracking(true);
        setCursor(Qt::BlankCursor); // only the card picture is seen over the reader
    }

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPointF p = e->position();
        const qreal perPixel = TwipsPerPixel / m_panel->zoom();
        m_model.present(p.x() * perPixel, p.y() * perPixel);
        e->accept();
    }

private:
    CardProcessor& m_model;
    const DevicePanel* m_panel;
};

// The design's fonts, before the zoom.
const qreal LinePoints = 14.25;
const qreal SmallPoints = 8.25;

// The address screen's labels, in twips of the screen, and its width.
struct LoadLabel {
    const char* text;
    int l, t, h;
};
const int LoadWidth = 1965;
const LoadLabel loadLabels[5] = {{"BCP Version: 1.0", 75, 0, 165},
                                 {"DDU Version: 1.0", 75, 150, 165},
                                 {"Machine Address:", 300, 375, 165},
                                 {"BCP Address: 127.0.0.1", 75, 600, 165},
                                 {nullptr, 75, 750, 240}}; // the console's address

} // namespace

frmBCP::frmBCP(CardProcessor& model, QWidget* parent)
    : DevicePanel(QStringLiteral("frmBCP"), tr("乘客處理機"), 3375, 5130,
                  QStringLiteral("bcp_front"), QSize(225, 350), QColor(160, 160, 160), parent),
      m_model(model)
{
    buildControls();
    layoutControls();
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
    lineFont.setPointSizeF(LinePoints);
    lineFont.setBold(true);
    QFont smallFont(QStringLiteral("Arial"));
    smallFont.setPointSizeF(SmallPoints);

    m_picLayer = new PictureBox(QStringLiteral("picLayer"), QColor(133, 219, 133), this);
    for (int i = 0; i < 3; ++i) {
        m_lines[i] = makeLabel<DisplayLine>(QStringLiteral("lbl%1").arg(i + 1), m_picLayer,
                                            lineFont, Qt::AlignHCenter | Qt::AlignTop);
        // The line's text, as said, is its accessible name.
        m_lines[i]->setAccessibleDescription(tr("乘客處理機顯示屏第 %1 行").arg(i + 1));
    }

    m_picLoad = new PictureBox(QStringLiteral("picLoad"), QColor(131, 219, 133), m_picLayer);
    for (int i = 0; i < 5; ++i) {
        m_loadLabels[i] = makeLabel(QStringLiteral("lblB_%1").arg(i), m_picLoad, smallFont,
                                    Qt::AlignLeft | Qt::AlignTop);
        if (loadLabels[i].text)
            m_loadLabels[i]->setText(QString::fromLatin1(loadLabels[i].text));
    }
    m_address = m_loadLabels[4];
    m_rule = new QFrame(m_picLoad);
    m_rule->setObjectName(QStringLiteral("Line1"));
    m_rule->setStyleSheet(QStringLiteral("background: black;"));

    m_picCover = new PictureBox(QStringLiteral("picCover"), QColor(64, 64, 64), this);
    m_picRed = new PictureBox(QStringLiteral("picRed"), RedOff, this);
    m_picYellow = new PictureBox(QStringLiteral("picYellow"), YellowOff, this);
    m_picGreen = new PictureBox(QStringLiteral("picGreen"), GreenOff, this);

    m_imgMCard = new QLabel(this);
    m_imgMCard->setObjectName(QStringLiteral("imgMCard"));
    m_imgMCard->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The reader lies over the card picture so that it keeps receiving the movements.
    m_imgCard = new CardReader(m_model, this);
    m_imgCard->raise();
    new Notice(this);
}

void frmBCP::layoutControls()
{
    m_picLayer->setGeometry(px(600, 675, 2115, 1065));
    for (int i = 0; i < 3; ++i) {
        m_lines[i]->setGeometry(px(0, 300 * i, 2100, 390));
        m_lines[i]->setFont(zoomed(m_lines[i]->font(), LinePoints));
    }
    m_picLoad->setGeometry(px(75, 0, LoadWidth, 990));
    for (int i = 0; i < 5; ++i) {
        const LoadLabel& b = loadLabels[i];
        // Left-aligned: up to the screen's edge, for a font that does not grow quite as
        // evenly as the zoom.
        m_loadLabels[i]->setGeometry(px(b.l, b.t, LoadWidth - b.l, b.h));
        m_loadLabels[i]->setFont(zoomed(m_loadLabels[i]->font(), SmallPoints));
    }
    const int ruleWidth = std::max(1, qRound(zoom()));
    m_rule->setGeometry(px(75), px(600) - ruleWidth, px(1875) - px(75), ruleWidth);
    // The lamp test darkens the whole screen, edge to edge.
    m_picCover->setGeometry(m_picLayer->geometry());

    m_picRed->setGeometry(px(850, 2250, 315, 315));
    m_picYellow->setGeometry(px(1480, 2250, 315, 315));
    m_picGreen->setGeometry(px(2100, 2250, 315, 315));

    m_imgCard->setGeometry(px(150, 2925, 3015, 1965));
    m_imgMCard->setGeometry(px(150, 3000, 2985, 1830));
    // Drawn again at the new size when next shown.
    m_imgMCard->setPixmap(QPixmap());
    showCard();
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
    announceResult();
}

void frmBCP::showLamps()
{
    const Lamps l = m_model.lamps();
    m_picRed->setBackColor(l.red ? RedOn : RedOff);
    m_picYellow->setBackColor(l.yellow ? YellowOn : YellowOff);
    m_picGreen->setBackColor(l.green ? GreenOn : GreenOff);
    describeLamps();
    announceResult();
}

void frmBCP::describeLamps()
{
    const Lamps l = m_model.lamps();
    auto describe = [](PictureBox* lamp, const QString& colour, bool lit) {
        const QString state = lit ? tr("亮") : tr("熄");
        Accessibility::describe(lamp, tr("%1燈（%2）").arg(colour, state),
                                tr("乘客處理機的%1色指示燈，現時%2").arg(colour, state));
    };
    describe(m_picRed, tr("紅"), l.red);
    describe(m_picYellow, tr("黃"), l.yellow);
    describe(m_picGreen, tr("綠"), l.green);
}

// Only what is said about the panel changes language; its screen is the equipment's.
void frmBCP::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("乘客處理機"));
        for (int i = 0; i < 3; ++i)
            m_lines[i]->setAccessibleDescription(tr("乘客處理機顯示屏第 %1 行").arg(i + 1));
        describeLamps();
    }
    DevicePanel::changeEvent(e);
}

// A read's outcome, a refusal or a retry lights one lamp or two; the idle screens, the
// out-of-service screen and the boot light none or all three. Such a screen is said once
// as it appears: its lines and its lamps may come in either order.
void frmBCP::announceResult()
{
    const Lamps l = m_model.lamps();
    const int lit = int(l.red) + int(l.yellow) + int(l.green);
    QString text;
    if (m_model.switchedOn() && m_model.linesShown() && lit > 0 && lit < 3)
        text = Accessibility::spoken(
            QStringList({m_model.line(0), m_model.line(1), m_model.line(2)}).join(u' '));
    if (text != m_announced)
        Accessibility::announce(this, text);
    m_announced = text;
}

void frmBCP::showCard()
{
    // The card sits 25 twips right of and below the pointer, so the pointer never rests
    // on it and the reader keeps receiving the movements.
    const QPointF at = m_model.cardAt();
    const QPoint reader = m_imgCard->pos();
    m_imgMCard->move(reader.x() + qRound(twipsExact(at.x() + 25.0) * zoom()),
                     reader.y() + qRound(twipsExact(at.y() + 25.0) * zoom()));
    // Only the part over the reader shows: the card never hangs past the panel's edge.
    m_imgMCard->setMask(QRegion(m_imgCard->geometry().translated(-m_imgMCard->pos())));
    // The picture is made when the card is first presented, not at start-up.
    if (m_model.cardShown() && m_imgMCard->pixmap().isNull())
        m_imgMCard->setPixmap(Artwork::render(QStringLiteral("card"), m_imgMCard->size(),
                                              m_imgMCard->devicePixelRatioF(), Qt::transparent));
    m_imgMCard->setVisible(m_model.cardShown());
}
