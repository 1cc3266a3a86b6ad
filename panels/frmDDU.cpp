#include "panels/frmDDU.h"

#include "ddu/Console.h"
#include "panels/Accessibility.h"
#include "panels/KeyRegion.h"

#include <QLabel>

namespace {

// The design's fonts, before the zoom.
const qreal LinePoints = 9.75;
const qreal StatusPoints = 9;

template <class Label = QLabel>
Label* displayLabel(const QString& name, QWidget* parent, double points)
{
    auto* label = new Label(parent);
    label->setObjectName(name);
    QFont f(QStringLiteral("新細明體"));
    f.setPointSizeF(points);
    label->setFont(f);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

frmDDU::frmDDU(Console& model, QWidget* parent)
    : DevicePanel(QStringLiteral("frmDDU"), tr("車長控制器"), 6315, 3870,
                  QStringLiteral("ddu_front"), QSize(423, 260), QColor(48, 48, 52), parent),
      m_model(model)
{
    buildControls();
    layoutControls();
    connect(&m_model, &Console::displayChanged, this, &frmDDU::showDisplay);
    connect(&m_model, &Console::keysChanged, this, &frmDDU::showKeys);
    showDisplay();
    showKeys();
}

frmDDU::~frmDDU() = default;

// Only what is said about the panel changes language; its lines are the equipment's.
void frmDDU::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("車長控制器"));
        for (int i = 0; i < 4; ++i)
            m_lines[i]->setAccessibleDescription(tr("車長控制器顯示屏第 %1 行").arg(i + 1));
    }
    DevicePanel::changeEvent(e);
}

void frmDDU::buildControls()
{
    for (int i = 0; i < 4; ++i) {
        m_lines[i] =
            displayLabel<DisplayLine>(QStringLiteral("lblLine%1").arg(i + 1), this, LinePoints);
        // The line's text, as said, is its accessible name.
        m_lines[i]->setAccessibleDescription(tr("車長控制器顯示屏第 %1 行").arg(i + 1));
    }
    const QString statusStyle =
        QStringLiteral("color: rgb(128,255,128); background-color: rgb(64,64,64);");
    m_status = displayLabel(QStringLiteral("lblStatus"), this, StatusPoints);
    m_status->setStyleSheet(statusStyle);
    m_status->setIndent(3);
    // The substitute font is wider than the device's: narrow it so the clock line fits.
    QFont narrow = m_status->font();
    narrow.setStretch(QFont::Condensed);
    m_status->setFont(narrow);
    m_shift = displayLabel(QStringLiteral("lblShift"), this, StatusPoints);
    m_shift->setStyleSheet(statusStyle);
    m_shift->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    for (const KeyInfo& info : Keys::all()) {
        auto* key = new KeyRegion(info, this);
        m_keys[int(info.key)] = key;
        connect(key, &KeyRegion::clicked, &m_model, &Console::press);
    }
    new Notice(this);
}

void frmDDU::layoutControls()
{
    for (int i = 0; i < 4; ++i) {
        m_lines[i]->setGeometry(px(675, 825 + 225 * i, 2415, 240));
        m_lines[i]->setFont(zoomed(m_lines[i]->font(), LinePoints));
    }
    // The bar reaches up towards line 4 so that the text has room above and below it, and
    // starts a little in from the bar's left end.
    m_status->setGeometry(px(675, 1800, 2190, 240));
    m_status->setFont(zoomed(m_status->font(), StatusPoints));
    m_shift->setGeometry(px(2850, 1800, 315, 240));
    m_shift->setFont(zoomed(m_shift->font(), StatusPoints));
    // The indicator stands at the status line's right end: keep its last letter off the edge.
    m_shift->setContentsMargins(0, 0, qRound(2 * zoom()), 0);
    for (const KeyInfo& info : Keys::all())
        m_keys[int(info.key)]->setGeometry(px(info.left, info.top, info.width, info.height));
}

void frmDDU::showDisplay()
{
    QStringList before;
    for (int i = 0; i < 4; ++i) {
        before << m_lines[i]->text();
        m_lines[i]->setText(m_model.line(i));
        m_lines[i]->setVisible(m_model.isOn());
        m_lines[i]->setEnabled(m_model.isOn());
    }
    m_status->setText(m_model.status());
    m_shift->setText(m_model.shiftIndicator());
    m_status->setVisible(m_model.statusShown());
    m_shift->setVisible(m_model.statusShown());
    announceChange(before);
}

// A message or a question is said once as it appears. The route screen coming back, the
// route being typed and the clock are not: the driver knows them, and they would talk
// over everything else.
void frmDDU::announceChange(const QStringList& before)
{
    QStringList now;
    for (int i = 0; i < 4; ++i)
        now << m_model.line(i);
    if (!m_model.isOn() || now == before)
        return;
    bool routeScreen = true;
    for (int i = 0; i < 3; ++i)
        routeScreen = routeScreen && now[i] == m_model.storedLine(i);
    const bool typing = m_model.mode() == Console::KeypadMode::RouteEntry &&
                        now.mid(0, 2) == before.mid(0, 2) && now[2] == m_model.typedRoute();
    if (now.mid(0, 3) != before.mid(0, 3) && !routeScreen && !typing)
        Accessibility::announce(this, now.join(u' '));
    else if (now[3] != before[3]) // a payment under the route screen
        Accessibility::announce(this, now[3]);
}

void frmDDU::flash(Key key)
{
    m_keys[int(key)]->flash();
}

void frmDDU::showKeys()
{
    for (const KeyInfo& info : Keys::all())
        m_keys[int(info.key)]->setEnabled(m_model.keyEnabled(info.key));
}
