#include "ddu/frmDDU.h"

#include "bcp/frmBCP.h"
#include "common/Artwork.h"
#include "common/Clock.h"
#include "common/Numbers.h"
#include "common/Placement.h"
#include "common/Timer.h"
#include "routes/RouteTable.h"
#include "shell/AppPaths.h"
#include "shell/Desktop.h"
#include "shell/frmMDI.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

QLabel* displayLabel(const QString& name, QWidget* parent, int l, int t, int w, int h,
                     double points)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(twips(l), twips(t), twips(w), twips(h));
    QFont f(QStringLiteral("新細明體"));
    f.setPointSizeF(points);
    label->setFont(f);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

KeyRegion::KeyRegion(const QString& name, const QString& letter, QWidget* parent)
    : QWidget(parent), Tag(letter)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void KeyRegion::mousePressEvent(QMouseEvent* e)
{
    e->accept();
}

void KeyRegion::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit Click();
    e->accept();
}

frmDDU::frmDDU(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDDU"));
    setWindowTitle(QStringLiteral("車長控制器"));
    setFixedSize(twips(6315), twips(3870));
    setMouseTracking(true);
    m_front = std::make_unique<Artwork>(QStringLiteral("ddu_front"), QSize(423, 260),
                                        QColor(48, 48, 52));
    buildControls();
    tmrClock = new Timer(QStringLiteral("tmrClock"), 500, true, this);
    connect(tmrClock, &Timer::tick, this, &frmDDU::tmrClock_Timer);
    Form_Load();
}

frmDDU::~frmDDU() = default;

void frmDDU::connectWindows(frmBCP* bcp, frmMDI* mdi)
{
    m_bcp = bcp;
    m_mdi = mdi;
}

KeyRegion* frmDDU::addKey(const QString& name, int left, int top, int width, int height,
                          const QString& letter)
{
    auto* key = new KeyRegion(name, letter, this);
    key->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return key;
}

void frmDDU::buildControls()
{
    lblLine1 = displayLabel(QStringLiteral("lblLine1"), this, 675, 825, 2415, 240, 9.75);
    lblLine2 = displayLabel(QStringLiteral("lblLine2"), this, 675, 1050, 2415, 240, 9.75);
    lblLine3 = displayLabel(QStringLiteral("lblLine3"), this, 675, 1275, 2415, 240, 9.75);
    lblLine4 = displayLabel(QStringLiteral("lblLine4"), this, 675, 1500, 2415, 240, 9.75);
    const QString statusStyle =
        QStringLiteral("color: rgb(128,255,128); background-color: rgb(64,64,64);");
    lblStatus = displayLabel(QStringLiteral("lblStatus"), this, 675, 1875, 2190, 165, 8.25);
    lblStatus->setStyleSheet(statusStyle);
    // The substitute font is wider than the device's: narrow it so the clock line fits.
    QFont narrow = lblStatus->font();
    narrow.setStretch(QFont::Condensed);
    lblStatus->setFont(narrow);
    lblStatus->hide();
    lblShift = displayLabel(QStringLiteral("lblShift"), this, 2850, 1875, 315, 165, 8.25);
    lblShift->setStyleSheet(statusStyle);
    lblShift->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblShift->hide();
    // The stored route screen is never shown; plain hidden labels keep it.
    lblOrgLine1 = new QLabel(OrgLine1, this);
    lblOrgLine1->setObjectName(QStringLiteral("lblOrgLine1"));
    lblOrgLine2 = new QLabel(OrgLine2, this);
    lblOrgLine2->setObjectName(QStringLiteral("lblOrgLine2"));
    lblOrgLine3 = new QLabel(OrgLine3, this);
    lblOrgLine3->setObjectName(QStringLiteral("lblOrgLine3"));
    for (QLabel* l : {lblOrgLine1, lblOrgLine2, lblOrgLine3})
        l->hide();

    const int k = 540;
    imgShift = addKey(QStringLiteral("imgShift"), 3750, 600, k, 465, QString());
    imgNo[1] = addKey(QStringLiteral("imgNo_1"), 4350, 600, k, 465, QStringLiteral("A"));
    imgNo[2] = addKey(QStringLiteral("imgNo_2"), 4950, 600, k, 465, QStringLiteral("B"));
    imgNo[3] = addKey(QStringLiteral("imgNo_3"), 5550, 600, 465, 465, QStringLiteral("C"));
    imgBrightness = addKey(QStringLiteral("imgBrightness"), 3750, 1200, k, k, QStringLiteral("D"));
    imgNo[4] = addKey(QStringLiteral("imgNo_4"), 4350, 1200, k, 465, QStringLiteral("E"));
    imgNo[5] = addKey(QStringLiteral("imgNo_5"), 4950, 1200, k, 465, QStringLiteral("F"));
    imgNo[6] = addKey(QStringLiteral("imgNo_6"), 5550, 1200, 465, 465, QStringLiteral("G"));
    imgContast = addKey(QStringLiteral("imgContast"), 3750, 1800, k, k, QStringLiteral("H"));
    imgNo[7] = addKey(QStringLiteral("imgNo_7"), 4350, 1800, k, k, QStringLiteral("I"));
    imgNo[8] = addKey(QStringLiteral("imgNo_8"), 4950, 1800, k, k, QStringLiteral("J"));
    imgNo[9] = addKey(QStringLiteral("imgNo_9"), 5550, 1800, 465, k, QStringLiteral("K"));
    imgAcc = addKey(QStringLiteral("imgAcc"), 225, 2400, k, k, QStringLiteral("L"));
    imgF1 = addKey(QStringLiteral("imgF1"), 825, 2400, k, k, QStringLiteral("M"));
    imgF2 = addKey(QStringLiteral("imgF2"), 1425, 2400, 465, k, QStringLiteral("N"));
    imgF3 = addKey(QStringLiteral("imgF3"), 1950, 2400, k, k, QStringLiteral("O"));
    imgF4 = addKey(QStringLiteral("imgF4"), 2550, 2400, k, k, QStringLiteral("P"));
    imgMoneyBox = addKey(QStringLiteral("imgMoneyBox"), 3150, 2400, k, k, QStringLiteral("Q"));
    imgOutput = addKey(QStringLiteral("imgOutput"), 3750, 2400, k, k, QStringLiteral("R"));
    imgSpace = addKey(QStringLiteral("imgSpace"), 4350, 2400, k, k, QStringLiteral("S"));
    imgNo[0] = addKey(QStringLiteral("imgNo_0"), 4950, 2475, 465, 465, QStringLiteral("T"));
    imgEnt = addKey(QStringLiteral("imgEnt"), 5550, 2400, 465, 1065, QString());
    imgOF = addKey(QStringLiteral("imgOF"), 225, 3000, k, k, QString());
    imgUp = addKey(QStringLiteral("imgUp"), 825, 3000, 465, 465, QString());
    imgDown = addKey(QStringLiteral("imgDown"), 1425, 3000, 465, 465, QString());
    imgRoute = addKey(QStringLiteral("imgRoute"), 2025, 3000, 465, k, QStringLiteral("U"));
    imgStart = addKey(QStringLiteral("imgStart"), 2550, 3000, k, k, QStringLiteral("V"));
    imgFinish = addKey(QStringLiteral("imgFinish"), 3150, 3000, k, k, QStringLiteral("W"));
    imgDir = addKey(QStringLiteral("imgDir"), 3750, 3000, k, k, QStringLiteral("X"));
    imgCancel = addKey(QStringLiteral("imgCancel"), 4350, 3000, k, k, QStringLiteral("Y"));
    imgSend = addKey(QStringLiteral("imgSend"), 4950, 3000, 465, k, QStringLiteral("Z"));

    for (KeyRegion* key : {imgRoute, imgFinish, imgDir, imgCancel, imgEnt, imgOutput})
        key->setEnabled(false);

    for (int i = 0; i <= 9; ++i)
        connect(imgNo[i], &KeyRegion::Click, this, [this, i] { imgNo_Click(i); });
    connect(imgShift, &KeyRegion::Click, this, &frmDDU::imgShift_Click);
    connect(imgSpace, &KeyRegion::Click, this, &frmDDU::imgSpace_Click);
    for (KeyRegion* key :
         {imgBrightness, imgContast, imgAcc, imgF1, imgF2, imgF3, imgF4, imgMoneyBox, imgSend})
        connect(key, &KeyRegion::Click, this, [this, key] { letterKey_Click(key->Tag); });
    connect(imgRoute, &KeyRegion::Click, this, &frmDDU::imgRoute_Click);
    connect(imgOutput, &KeyRegion::Click, this, &frmDDU::imgOutput_Click);
    connect(imgStart, &KeyRegion::Click, this, &frmDDU::imgStart_Click);
    connect(imgFinish, &KeyRegion::Click, this, &frmDDU::imgFinish_Click);
    connect(imgDir, &KeyRegion::Click, this, &frmDDU::imgDir_Click);
    connect(imgCancel, &KeyRegion::Click, this, &frmDDU::imgCancel_Click);
    connect(imgEnt, &KeyRegion::Click, this, &frmDDU::imgEnt_Click);
    connect(imgOF, &KeyRegion::Click, this, &frmDDU::imgOF_Click);
    connect(imgUp, &KeyRegion::Click, this, &frmDDU::imgUp_Click);
    connect(imgDown, &KeyRegion::Click, this, &frmDDU::imgDown_Click);
}

QList<KeyRegion*> frmDDU::keys() const
{
    return findChildren<KeyRegion*>();
}

int frmDDU::Top() const
{
    return Placement::top(this);
}

void frmDDU::setTop(int tw)
{
    Placement::setTop(this, tw);
}

int frmDDU::Left() const
{
    return Placement::left(this);
}

void frmDDU::setLeft(int tw)
{
    Placement::setLeft(this, tw);
}

void frmDDU::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(QPointF(0, 0), m_front->pixmap(devicePixelRatioF()));
}

void frmDDU::mouseMoveEvent(QMouseEvent* e)
{
    // Only the bare background withdraws the card, not the keys or the display lines.
    if (!childAt(e->position().toPoint()))
        Form_MouseMove();
    e->accept();
}

void frmDDU::Form_MouseMove()
{
    if (m_bcp)
        m_bcp->imgMCard->hide();
}

void frmDDU::Form_Load()
{
    loadRouteFile();
    Log(Clock::dateText());
    Log(Clock::timeText() + QStringLiteral(" Start Logging"));
}

void frmDDU::loadRouteFile()
{
    const QString path = AppPaths::routesFile();
    RouteTable::LoadResult r = RouteTable::load(path);
    lst = std::move(r.lines);
    if (!r.ok)
        Desktop::instance().warn(QStringLiteral("不能讀取路線檔案 %1（%2），沒有載入任何路線。")
                                     .arg(QDir::toNativeSeparators(path), r.error));
}

bool frmDDU::isOn() const
{
    return !lblLine1->isHidden();
}

void frmDDU::setLines(const QString& l1, const QString& l2, const QString& l3, const QString& l4)
{
    lblLine1->setText(l1);
    lblLine2->setText(l2);
    lblLine3->setText(l3);
    lblLine4->setText(l4);
}

void frmDDU::restoreDisplay()
{
    setLines(lblOrgLine1->text(), lblOrgLine2->text(), lblOrgLine3->text(), QString());
}

void frmDDU::resetStoredLines()
{
    lblOrgLine1->setText(OrgLine1);
    lblOrgLine2->setText(OrgLine2);
    lblOrgLine3->setText(OrgLine3);
}

void frmDDU::setControlsEnabled(bool on)
{
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        w->setEnabled(on);
    tmrClock->setEnabled(on);
}

void frmDDU::clearShift()
{
    ShiftOn = false;
    lblShift->setText(QString());
}

void frmDDU::imgOF_Click()
{
    if (isOn()) {
        for (QLabel* l : {lblLine1, lblLine2, lblLine3, lblLine4, lblStatus, lblShift})
            l->hide();
        resetStoredLines();
        setControlsEnabled(false);
        if (m_bcp) {
            m_bcp->NoResponse = false;
            m_bcp->lbl1->setText(QString());
            m_bcp->lbl2->setText(QString());
            m_bcp->lbl3->setText(QString());
            m_bcp->picLayer->hide();
            m_bcp->picCover->hide();
            for (Timer* t : {m_bcp->tmrChange, m_bcp->tmrCount, m_bcp->tmrLoadLong,
                             m_bcp->tmrLock, m_bcp->tmrStart})
                t->setEnabled(false);
            m_bcp->setLamps(frmBCP::Lamps::AllOff);
        }
        if (m_mdi)
            m_mdi->mnuSimTemp->setEnabled(false);
        imgOF->setEnabled(true);
        clearShift();
        return;
    }

    setControlsEnabled(true);
    if (m_mdi) {
        m_mdi->mnuSimTemp->setEnabled(true);
        m_mdi->mnuSimTemp->setChecked(false);
    }
    if (m_bcp) {
        m_bcp->NoResponse = false;
        m_bcp->StartValue = false;
    }
    for (KeyRegion* key : {imgRoute, imgFinish, imgDir, imgCancel, imgEnt, imgOutput})
        key->setEnabled(false);
    setLines(QString(), QStringLiteral("　　　PLEASE WAIT"), QString(), QString());
    for (QLabel* l : {lblLine1, lblLine2, lblLine3, lblLine4})
        l->show();
    lblStatus->setText(QString());
    lblShift->setText(QString());
    lblStatus->show();
    lblShift->show();
    clearShift();
    resetStoredLines();
    if (m_bcp) {
        m_bcp->lblB[4]->setText(QStringLiteral("DDU Address: Getting..."));
        m_bcp->NoResponse = false;
        m_bcp->lbl1->setText(QString());
        m_bcp->lbl2->setText(QString());
        m_bcp->lbl3->setText(QString());
        m_bcp->picLayer->show();
        m_bcp->picLoad->hide();
        m_bcp->picCover->hide();
        for (Timer* t : {m_bcp->tmrChange, m_bcp->tmrCount, m_bcp->tmrLoadLong, m_bcp->tmrLock})
            t->setEnabled(false);
        // The lock timer has just been stopped; a lock left standing would refuse every
        // card of the new session as already processed.
        m_bcp->PaidLock = false;
        m_bcp->tmrStart->setInterval(1000);
        m_bcp->tmrStart->setTag(QStringLiteral("0"));
        m_bcp->tmrStart->setEnabled(true);
        m_bcp->setLamps(frmBCP::Lamps::AllOff);
    }
}

void frmDDU::tmrClock_Timer()
{
    const QString text = Clock::dateText() + u' ' + Clock::timeText() + QStringLiteral(" Quillmere");
    if (lblStatus->text() != text)
        lblStatus->setText(text);
}
