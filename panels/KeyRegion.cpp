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

// What a key is called where its caption on the front says too little to a reader of
// another language. Keys not listed are called by their caption (digits, F1 to F4).
struct KeyName {
    Key key;
    const char* name; // the caption, or what stands for it in Chinese
};
constexpr KeyName Names[] = {
    {Key::Shift, QT_TRANSLATE_NOOP("KeyRegion", "英文字 SHIFT")},
    {Key::Brightness, QT_TRANSLATE_NOOP("KeyRegion", "光暗")},
    {Key::Contrast, QT_TRANSLATE_NOOP("KeyRegion", "對比度")},
    {Key::Accident, QT_TRANSLATE_NOOP("KeyRegion", "事故")},
    {Key::MoneyBox, QT_TRANSLATE_NOOP("KeyRegion", "錢箱")},
    {Key::Output, QT_TRANSLATE_NOOP("KeyRegion", "輸出")},
    {Key::Space, QT_TRANSLATE_NOOP("KeyRegion", "空格")},
    {Key::Enter, QT_TRANSLATE_NOOP("KeyRegion", "輸入")},
    {Key::Power, QT_TRANSLATE_NOOP("KeyRegion", "開/關")},
    {Key::Up, QT_TRANSLATE_NOOP("KeyRegion", "↑")},
    {Key::Down, QT_TRANSLATE_NOOP("KeyRegion", "↓")},
    {Key::Route, QT_TRANSLATE_NOOP("KeyRegion", "路線")},
    {Key::Start, QT_TRANSLATE_NOOP("KeyRegion", "起點")},
    {Key::Finish, QT_TRANSLATE_NOOP("KeyRegion", "終點")},
    {Key::Direction, QT_TRANSLATE_NOOP("KeyRegion", "方向")},
    {Key::Cancel, QT_TRANSLATE_NOOP("KeyRegion", "取消")},
    {Key::Send, QT_TRANSLATE_NOOP("KeyRegion", "退出")},
};

QString keyName(const KeyInfo& info)
{
    for (const KeyName& n : Names)
        if (n.key == info.key)
            return KeyRegion::tr(n.name);
    return QString::fromUtf16(info.caption);
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

    retranslate();
}

// The tooltip and what assistive technology says, in the interface's language; the
// caption on the artwork stays as the equipment has it.
void KeyRegion::retranslate()
{
    const KeyInfo& info = Keys::info(m_key);
    const QString caption = keyName(info);
    const QString letter = info.letter ? QString(QChar::fromLatin1(info.letter)) : QString();
    const QString keyboard = keyboardKey(info);
    QString tip = caption;
    QString description = tr("車長控制器按鍵「%1」").arg(caption);
    if (!letter.isEmpty()) {
        tip += tr("（字母 %1）").arg(letter);
        description += tr("，按英文字 SHIFT 後輸入 %1").arg(letter);
    }
    if (!keyboard.isEmpty()) {
        tip += tr("\n鍵盤：%1").arg(keyboard);
        description += tr("，鍵盤：%1").arg(keyboard);
    }
    setToolTip(tip);
    setAccessibleName(letter.isEmpty() ? caption : caption + u' ' + letter);
    setAccessibleDescription(description);
}

void KeyRegion::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(e);
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
