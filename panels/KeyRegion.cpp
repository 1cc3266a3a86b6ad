#include "panels/KeyRegion.h"

#include "common/Timer.h"
#include "common/Twips.h"
#include "panels/Accessibility.h"

#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>

namespace {

// "F5", or the letter for a key that only types one.
QString keyboardKey(const KeyInfo& info)
{
    if (info.keyboard)
        return QKeySequence(QLatin1String(info.keyboard)).toString(QKeySequence::NativeText);
    return QString(QChar::fromLatin1(info.letter));
}

} // namespace

KeyRegion::KeyRegion(const KeyInfo& info, QWidget* parent)
    : QWidget(parent), m_key(info.key),
      m_tmrFlash(new Timer(QStringLiteral("tmrFlash"), 150, false, this))
{
    setObjectName(QLatin1String(info.name));
    setGeometry(twips(info.left), twips(info.top), twips(info.width), twips(info.height));
    setCursor(Qt::PointingHandCursor);
    Accessibility::install(); // a push button to assistive technology
    connect(m_tmrFlash, &Timer::tick, this, [this] {
        m_tmrFlash->setEnabled(false);
        m_flashing = false;
        update();
    });

    const QString caption = QString::fromUtf16(info.caption);
    const QString letter = info.letter ? QString(QChar::fromLatin1(info.letter)) : QString();
    const QString keyboard = keyboardKey(info);
    QString tip = caption;
    QString description = QStringLiteral("車長控制器按鍵「%1」").arg(caption);
    if (!letter.isEmpty()) {
        tip += QStringLiteral("（字母 %1）").arg(letter);
        description += QStringLiteral("，按英文字 SHIFT 後輸入 %1").arg(letter);
    }
    if (!keyboard.isEmpty()) {
        tip += QStringLiteral("\n鍵盤：%1").arg(keyboard);
        description += QStringLiteral("，鍵盤：%1").arg(keyboard);
    }
    setToolTip(tip);
    setAccessibleName(letter.isEmpty() ? caption : caption + u' ' + letter);
    setAccessibleDescription(description);
}

void KeyRegion::flash()
{
    m_flashing = true;
    m_tmrFlash->restart();
    update();
}

void KeyRegion::press()
{
    if (!isEnabled())
        return;
    flash();
    emit clicked(m_key);
}

void KeyRegion::paintEvent(QPaintEvent*)
{
    if (!drawnPressed())
        return;
    // The key's face lies in the panel's picture; a pressed key is drawn darker.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
}

void KeyRegion::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        m_down = true;
        update();
    }
    e->accept();
}

void KeyRegion::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_down) {
        m_down = false;
        update();
    }
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked(m_key);
    e->accept();
}
