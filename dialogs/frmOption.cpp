#include "dialogs/frmOption.h"

#include "bcp/CardProcessor.h"
#include "common/Numbers.h"
#include "dialogs/DialogStyle.h"
#include "platform/Settings.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

using DialogStyle::tw;

namespace {

// The style draws no focus on a scroll bar; this one shows where the keys go.
class TimeBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QScrollBar::paintEvent(e);
        if (!hasFocus())
            return;
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

// The seconds, shown and typed; the text inside is txtTime, as the box that only showed
// them was called.
class TimeBox : public QSpinBox {
public:
    explicit TimeBox(QWidget* parent) : QSpinBox(parent)
    {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txtTime"));
        setLineEdit(edit);
    }
};

} // namespace

frmOption::frmOption(CardProcessor& processor, QWidget* parent)
    : QDialog(parent), m_processor(processor)
{
    setObjectName(QStringLiteral("frmOption"));
    DialogStyle::frame(this, tr("設定"), 4710, 2235);
    buildControls();

    // A drag counts once, when the thumb is let go; arrows, track and keys count each time.
    connect(hsrTime, &QScrollBar::valueChanged, this, [this] {
        if (!hsrTime->isSliderDown())
            hsrTime_Change();
    });
    connect(hsrTime, &QScrollBar::sliderReleased, this, [this] {
        if (hsrTime->value() != m_shown)
            hsrTime_Change();
    });
    // Typed seconds move the scroll bar, which takes them the way a click does.
    connect(spnTime, &QSpinBox::valueChanged, hsrTime, &QScrollBar::setValue);
    connect(cmdClose, &QPushButton::clicked, this, &frmOption::cmdClose_Click);

    Form_Load();
}

void frmOption::buildControls()
{
    fra = new QGroupBox(tr("開機時間設定(&B)"), this);
    fra->setObjectName(QStringLiteral("fra"));
    fra->setGeometry(tw(120, 195, 4470, 1515)); // the title clear of the dialog's edges

    hsrTime = new TimeBar(Qt::Horizontal, fra);
    hsrTime->setObjectName(QStringLiteral("hsrTime"));
    hsrTime->setAccessibleName(tr("開機時間（秒）"));
    hsrTime->setGeometry(tw(225, 1125, 4065, 240));
    hsrTime->setRange(5, 30);
    hsrTime->setSingleStep(1); // arrow click: one second
    hsrTime->setPageStep(5);   // track click: five seconds
    hsrTime->setValue(5);
    hsrTime->setFocusPolicy(Qt::StrongFocus);
    hsrTime->installEventFilter(this);

    lbl[0] = new QLabel(tr("設定「開機畫面」的模擬連接時間，可選擇由 5 秒至 30 秒。"), fra);
    lbl[0]->setObjectName(QStringLiteral("lbl_0"));
    lbl[0]->setGeometry(tw(150, 300, 4290, 480)); // two lines of the proportional face
    lbl[0]->setWordWrap(true);
    lbl[0]->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    spnTime = new TimeBox(fra);
    spnTime->setObjectName(QStringLiteral("spnTime"));
    spnTime->setGeometry(tw(1845, 795, 900, 300));
    spnTime->setRange(5, 30);
    spnTime->setValue(5);

    lbl[1] = new QLabel(tr("現時設定(秒)(&T)："), fra);
    lbl[1]->setObjectName(QStringLiteral("lbl_1"));
    lbl[1]->setGeometry(tw(225, 825, 1605, 240));
    lbl[1]->setBuddy(spnTime);
    spnTime->setAccessibleName(tr("現時設定（秒）")); // without the access key

    cmdClose = new QPushButton(tr("關閉(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(tw(1800, 1770, 1365, 315));
    cmdClose->setDefault(true);

    setTabOrder(hsrTime, spnTime);
    setTabOrder(spnTime, cmdClose);
    hsrTime->setFocus();
}

bool frmOption::eventFilter(QObject* watched, QEvent* e)
{
    // A scroll bar takes → and ← the other way round from its arrows (it turns its keys
    // for scrolling pages of text); here → raises the time as the right arrow does. PgDn
    // and PgUp already go as the track does.
    if (watched == hsrTime && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Right || key == Qt::Key_Left) {
            hsrTime->triggerAction(key == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                                        : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmOption::Form_Load()
{
    // A value other than the scroll bar's own 5 goes through the change handler.
    const int seconds = Numbers::roundToInt16(m_processor.loadWaitMs() / 1000.0).value_or(5);
    hsrTime->setValue(seconds);
}

void frmOption::hsrTime_Change()
{
    const int seconds = hsrTime->value();
    m_shown = seconds;
    const QSignalBlocker quiet(spnTime); // the box follows; it does not write again
    spnTime->setValue(seconds);
    // A new interval restarts a running boot wait with the new length.
    m_processor.setLoadWaitMs(seconds * 1000);
    Settings::setLoadtimeMs(seconds * 1000);
}

void frmOption::cmdClose_Click()
{
    close();
}
