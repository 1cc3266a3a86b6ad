#include "panels/frmDDU.h"

#include "common/Twips.h"
#include "ddu/Console.h"
#include "panels/KeyRegion.h"

#include <QLabel>

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

frmDDU::frmDDU(Console& model, QWidget* parent)
    : DevicePanel(QStringLiteral("frmDDU"), QStringLiteral("車長控制器"), 6315, 3870,
                  QStringLiteral("ddu_front"), QSize(423, 260), QColor(48, 48, 52), parent),
      m_model(model)
{
    buildControls();
    connect(&m_model, &Console::displayChanged, this, &frmDDU::showDisplay);
    connect(&m_model, &Console::keysChanged, this, &frmDDU::showKeys);
    showDisplay();
    showKeys();
}

frmDDU::~frmDDU() = default;

void frmDDU::buildControls()
{
    for (int i = 0; i < 4; ++i) {
        m_lines[i] = displayLabel(QStringLiteral("lblLine%1").arg(i + 1), this, 675, 825 + 225 * i,
                                  2415, 240, 9.75);
        // The line's text is its accessible name, announced whenever it changes.
        m_lines[i]->setAccessibleDescription(QStringLiteral("車長控制器顯示屏第 %1 行").arg(i + 1));
    }
    const QString statusStyle =
        QStringLiteral("color: rgb(128,255,128); background-color: rgb(64,64,64);");
    // The bar reaches up towards line 4 so that the text has room above and below it, and
    // starts a little in from the bar's left end.
    m_status = displayLabel(QStringLiteral("lblStatus"), this, 675, 1800, 2190, 240, 9);
    m_status->setStyleSheet(statusStyle);
    m_status->setIndent(3);
    // The substitute font is wider than the device's: narrow it so the clock line fits.
    QFont narrow = m_status->font();
    narrow.setStretch(QFont::Condensed);
    m_status->setFont(narrow);
    m_shift = displayLabel(QStringLiteral("lblShift"), this, 2850, 1800, 315, 240, 9);
    m_shift->setStyleSheet(statusStyle);
    m_shift->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The indicator stands at the status line's right end: keep its last letter off the edge.
    m_shift->setContentsMargins(0, 0, 2, 0);

    for (const KeyInfo& info : Keys::all()) {
        auto* key = new KeyRegion(info, this);
        m_keys[int(info.key)] = key;
        connect(key, &KeyRegion::clicked, &m_model, &Console::press);
    }
}

void frmDDU::showDisplay()
{
    for (int i = 0; i < 4; ++i) {
        m_lines[i]->setText(m_model.line(i));
        m_lines[i]->setVisible(m_model.isOn());
        m_lines[i]->setEnabled(m_model.isOn());
    }
    m_status->setText(m_model.status());
    m_shift->setText(m_model.shiftIndicator());
    m_status->setVisible(m_model.statusShown());
    m_shift->setVisible(m_model.statusShown());
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
