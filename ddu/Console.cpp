#include "ddu/Console.h"

#include "common/Clock.h"
#include "common/Timer.h"
#include "common/Yield.h"
#include "ddu/ProcessorLink.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/Settings.h"
#include "routes/RouteTable.h"
#include "triplog/TripLogFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

const QString OrgLine1 = QStringLiteral("車費　　　");
const QString OrgLine2 = QStringLiteral("路線　　　");
const QString OrgLine3 = QStringLiteral("往　");

RouteCursor readRouteFile()
{
    const QString path = AppPaths::routesFile();
    RouteTable::LoadResult r = RouteTable::load(path);
    if (!r.ok)
        Desktop::instance().warn(
            QCoreApplication::translate("Console", "不能讀取路線檔案 %1（%2），沒有載入任何路線。")
                .arg(QDir::toNativeSeparators(path), r.error));
    return RouteCursor(std::move(r.lines), path);
}

} // namespace

Console::Console(QObject* parent)
    : QObject(parent), m_tmrClock(new Timer(QStringLiteral("tmrClock"), 500, true, this)),
      m_routes(readRouteFile())
{
    setObjectName(QStringLiteral("Console"));
    connect(m_tmrClock, &Timer::tick, this, &Console::clockTick);
    resetStoredLines();
    takeKeptBlocks();
}

// Blocks an earlier run could not write to log.txt go out with this run's first output.
void Console::takeKeptBlocks()
{
    const QString path = AppPaths::keptLogFile();
    QString error;
    const QString blocks = TripLogFile::kept(path, &error);
    if (!error.isEmpty())
        Desktop::instance().warn(
            QCoreApplication::translate("Console", "不能讀取上次保留的行車記錄 %1（%2）。")
                .arg(QDir::toNativeSeparators(path), error));
    if (blocks.isEmpty())
        return;
    m_log.restoreBlocks(blocks);
    m_keptBlocks = true;
}

QString Console::keepUnwrittenBlocks()
{
    if (!m_log.blocksPending())
        return QString();
    const QString logPath = AppPaths::logFile();
    QString error;
    if (writeBlocks(logPath, &error))
        return QString();
    const QString keptPath = AppPaths::keptLogFile();
    QString keepError;
    QDir().mkpath(QFileInfo(keptPath).path());
    if (TripLogFile::keep(keptPath, m_log.pendingBlocks(), &keepError))
        return QCoreApplication::translate("Console",
                                           "不能寫入記錄檔案 %1：%2\n未寫入的記錄已保留在 %3，"
                                           "下次啟動後輸出時會一併寫入。")
            .arg(QDir::toNativeSeparators(logPath), error, QDir::toNativeSeparators(keptPath));
    return QCoreApplication::translate("Console", "不能寫入記錄檔案 %1：%2\n也不能保留在 %3（%4），"
                                                  "未寫入的記錄已經失去。")
        .arg(QDir::toNativeSeparators(logPath), error, QDir::toNativeSeparators(keptPath),
             keepError);
}

bool Console::writeBlocks(const QString& path, QString* error)
{
    if (!m_log.writeBlocks(path, error))
        return false;
    // Its blocks are in log.txt now; left behind, they would go there again.
    if (m_keptBlocks && TripLogFile::forget(AppPaths::keptLogFile(), nullptr))
        m_keptBlocks = false;
    return true;
}

Console::~Console() = default;

// ---- display -----------------------------------------------------------------------

QString Console::shiftIndicator() const
{
    return m_shift ? QStringLiteral("SH") : QString();
}

void Console::setLines(const QString& l1, const QString& l2, const QString& l3, const QString& l4)
{
    m_lines[0] = l1;
    m_lines[1] = l2;
    m_lines[2] = l3;
    m_lines[3] = l4;
    m_prompting = false;
    emit displayChanged();
}

void Console::prompt(const QString& question, KeypadMode mode)
{
    setLines(QString(), question, QString(), QString());
    m_prompting = true;
    m_mode = mode;
}

void Console::restoreDisplay()
{
    setLines(m_stored[0], m_stored[1], m_stored[2], QString());
}

void Console::resetStoredLines()
{
    m_stored[0] = OrgLine1;
    m_stored[1] = OrgLine2;
    m_stored[2] = OrgLine3;
}

void Console::clearShift()
{
    m_shift = false;
    emit displayChanged();
}

void Console::clockTick()
{
    const QString text =
        Clock::dateText() + u' ' + Clock::timeText() + QStringLiteral(" Quillmere");
    if (m_status == text)
        return; // rewritten once a second, not on every tick
    m_status = text;
    emit displayChanged();
}

// ---- what the card processor asks --------------------------------------------------

void Console::showMessage(const QString& text)
{
    setLines(QStringLiteral(" "), text, QString(), QString());
}

void Console::restoreRouteScreen()
{
    if (!m_prompting) {
        m_lines[0] = m_stored[0];
        m_lines[1] = m_stored[1];
        m_lines[2] = m_stored[2];
    }
    m_lines[3].clear();
    emit displayChanged();
}

void Console::showPayment(const QString& text)
{
    m_lines[3] = text;
    emit displayChanged();
}

void Console::enableServiceKeys()
{
    m_serviceKeys = true;
    emit keysChanged();
}

void Console::loadStartRoute()
{
    const QString last = Settings::lastRoute();
    if (last.isEmpty())
        loadRoute(0);
    else
        changeRoute(last);
}

void Console::note(journal::EventKind kind)
{
    emit journalEvent(journal::Event::now(kind));
}

void Console::log(TripEvent event, const QString& detail)
{
    m_log.log(event, detail);
}

// ---- power -------------------------------------------------------------------------

void Console::switchPower()
{
    if (m_on) {
        m_on = false;
        m_statusShown = false;
        resetStoredLines();
        m_tmrClock->setEnabled(false);
        if (m_processor)
            m_processor->powerOff();
        emit powerSwitched(false);
        clearShift();
        emit keysChanged();
        emit displayChanged();
        note(journal::EventKind::PowerOff);
        return;
    }

    m_on = true;
    m_tmrClock->setEnabled(true);
    emit powerSwitched(true);
    m_serviceKeys = false;
    setLines(QString(), QStringLiteral("　　　PLEASE WAIT"), QString(), QString());
    m_prompting = true; // nothing of the processor's restores over it
    m_status.clear();
    m_statusShown = true;
    clearShift();
    // The keypad stays in its mode, but what was typed before the cut is gone with the
    // lines: it must never load as a route after the next log-in.
    m_typed.clear();
    m_notFoundShown = false;
    resetStoredLines();
    if (m_processor)
        m_processor->powerOn();
    emit keysChanged();
    emit displayChanged();
    note(journal::EventKind::PowerOn);
}

// ---- keys --------------------------------------------------------------------------

bool Console::keyEnabled(Key key) const
{
    if (key == Key::Power)
        return true;
    return m_on && (m_serviceKeys || !Keys::isServiceKey(key));
}

void Console::press(Key key)
{
    if (!keyEnabled(key))
        return;
    switch (key) {
    case Key::Power:
        switchPower();
        break;
    case Key::Shift:
        shiftKey();
        break;
    case Key::Space:
        type(m_shift ? QStringLiteral("S") : QStringLiteral(" "));
        break;
    case Key::Route:
    case Key::Output:
    case Key::Start:
    case Key::Finish:
    case Key::Direction:
        modeKey(key);
        break;
    case Key::Cancel:
        if (m_shift)
            typeLetterOf(key);
        else
            cancel();
        break;
    case Key::Enter:
        enter();
        break;
    case Key::Up:
        step(-1);
        break;
    case Key::Down:
        step(+1);
        break;
    default:
        if (Keys::isDigit(key)) {
            if (m_mode != KeypadMode::RouteEntry)
                break;
            if (m_shift)
                typeLetterOf(key);
            else
                type(QString::number(int(key) - int(Key::No0)));
        } else if (m_shift) {
            typeLetterOf(key); // the keys that only type a letter
        }
        break;
    }
}

void Console::typeLetter(QChar letter)
{
    const KeyInfo* key = Keys::withLetter(letter.toUpper());
    if (!key || m_mode != KeypadMode::RouteEntry || !keyEnabled(key->key))
        return;
    m_shift = true;
    press(key->key);
}

void Console::type(const QString& text)
{
    if (m_mode != KeypadMode::RouteEntry)
        return;
    // The message of a failed search gives way to the new input.
    if (m_notFoundShown) {
        m_notFoundShown = false;
        m_typed.clear();
    }
    // A key beyond the line's end types nothing, as on a full display. It uses SHIFT up
    // all the same: left on, SHIFT would turn the next 取消 into a letter the full line
    // refuses too, and the driver could not leave the entry.
    if (m_typed.size() + text.size() > MaxTypedRoute) {
        Desktop::instance().beep();
        if (m_shift)
            clearShift();
        return;
    }
    m_typed += text;
    m_lines[2] = m_typed;
    m_shift = false; // SHIFT applies to one character only
    emit displayChanged();
}

void Console::typeLetterOf(Key key)
{
    type(QString(QChar::fromLatin1(Keys::info(key).letter)));
}

void Console::shiftKey()
{
    if (m_mode != KeypadMode::RouteEntry)
        return;
    m_shift = !m_shift;
    emit displayChanged();
}

void Console::modeKey(Key key)
{
    if (m_shift)
        return typeLetterOf(key);
    switch (key) {
    case Key::Route:
        prompt(QStringLiteral("　　路線號？"), KeypadMode::RouteEntry);
        m_typed.clear();
        m_notFoundShown = false;
        if (m_processor)
            m_processor->stopService();
        break;
    case Key::Output:
        prompt(QStringLiteral("　　輸出？(Y/N)"), KeypadMode::OutputConfirm);
        if (m_processor)
            m_processor->stopService();
        break;
    case Key::Start:
        prompt(QStringLiteral("　　起點？(Y/N)"), KeypadMode::OriginConfirm);
        break;
    case Key::Finish:
        prompt(QStringLiteral("　　終點？(Y/N)"), KeypadMode::TerminusConfirm);
        break;
    case Key::Direction:
        prompt(QStringLiteral("　更改方向？(Y/N)"), KeypadMode::DirectionConfirm);
        break;
    default:
        break;
    }
}

void Console::cancel()
{
    // SHIFT is off here: with it on, this key types its letter instead.
    restoreDisplay();
    m_mode = KeypadMode::Idle;
    if (m_processor)
        m_processor->resumeService();
}

void Console::enter()
{
    if (m_outputRunning)
        return;
    switch (m_mode) {
    case KeypadMode::TerminusConfirm:
        changeDirection();
        m_mode = KeypadMode::Idle;
        break;
    case KeypadMode::RouteEntry: {
        // The not-found message is not a route: wait for the driver to type one.
        if (m_notFoundShown)
            break;
        const QString typed = m_typed;
        Settings::setLastRoute(typed);
        changeRoute(typed);
        break;
    }
    case KeypadMode::OutputConfirm:
        output();
        break;
    case KeypadMode::OriginConfirm:
        log(TripEvent::StartTrip);
        restoreDisplay();
        m_mode = KeypadMode::Idle;
        note(journal::EventKind::TripStarted);
        break;
    case KeypadMode::DirectionConfirm:
        log(TripEvent::DirectionChanged);
        restoreDisplay();
        m_mode = KeypadMode::Idle;
        note(journal::EventKind::DirectionChanged);
        break;
    case KeypadMode::Idle:
        break;
    }
}

void Console::step(int direction)
{
    // Until the processor has logged in after the latest power-on, a step would take it
    // out of service in the middle of its boot, and it would never ask for the card.
    if (!m_serviceKeys)
        return;
    if (const auto n = m_routes.neighbour(direction))
        loadRoute(*n);
}

// ---- routes ------------------------------------------------------------------------

void Console::loadRoute(qsizetype index)
{
    if (m_processor)
        m_processor->stopService();
    m_routes.load(index);
    m_stored[0] = OrgLine1 + m_routes.routeLine().fareShown();
    m_stored[1] = OrgLine2 + m_routes.route();
    m_stored[2] = OrgLine3 + m_routes.destination();
    setLines(QStringLiteral("正在擷取路線資料..."), QStringLiteral("請稍候..."), QString(),
             QString());
    log(TripEvent::RouteChanged, m_routes.route());
    // The console's part is done: the route goes to the journal before the fare change
    // it leads to, so that the fare is journalled on its route.
    journal::Event e = journal::Event::now(journal::EventKind::RouteLoaded);
    e.route = m_routes.route();
    e.destination = m_routes.destination();
    e.section = m_routes.section();
    emit journalEvent(e);
    // With no route file, or a first line without fields, there is no fare yet. Handing
    // the processor an empty one would end the program at the first log-in; it keeps its
    // $0.00 instead, as it does when the stored last route is not found.
    if (m_processor && m_routes.hasFare())
        m_processor->changeFare(m_routes.routeLine());
}

void Console::changeRoute(const QString& route)
{
    const auto i = m_routes.find(route);
    if (!i) {
        m_lines[2] = NotFound;
        m_typed.clear();
        m_notFoundShown = true;
        m_mode = KeypadMode::RouteEntry;
        emit displayChanged();
        return;
    }
    loadRoute(*i);
    m_mode = KeypadMode::Idle;
    clearShift();
}

void Console::changeDirection()
{
    const auto i = m_routes.otherDirection();
    if (!i) {
        Desktop::instance().beep();
        return;
    }
    loadRoute(*i);
    log(TripEvent::FinishedTrip);
    log(TripEvent::DirectionChanged);
    note(journal::EventKind::DirectionChanged);
}

// ---- the trip log ------------------------------------------------------------------

void Console::output()
{
    // A second output started from a yield below would write the same block twice.
    if (m_outputRunning)
        return;
    m_outputRunning = true;
    QPointer<Console> self(this);

    if (m_processor)
        m_processor->pause();
    m_lines[0] = QStringLiteral(" ");
    m_lines[1] = QStringLiteral("　　　正在輸出...");
    m_lines[2].clear(); // line 4 keeps its text
    m_prompting = false;
    emit displayChanged();
    log(TripEvent::BlockEnd);
    yieldEvents(); // the message is painted; clicks and ticks go on meanwhile
    if (!self)
        return;

    // The block and the new log in one step, so that a line logged while the file is
    // written lands in the new log and none falls between the two.
    const qsizetype linesBefore = m_log.pendingLines();
    m_log.takeBlock();
    const qsizetype blockLines = m_log.pendingLines() - linesBefore;
    const QString path = AppPaths::logFile();
    QString error;
    if (!writeBlocks(path, &error))
        Desktop::instance().warn(
            QCoreApplication::translate(
                "Console", "不能寫入記錄檔案 %1：%2\n記錄已保留，下次輸出時會一併寫入。")
                .arg(QDir::toNativeSeparators(path), error));
    yieldEvents();
    if (!self)
        return;

    m_mode = KeypadMode::Idle;
    m_outputRunning = false;
    emit outputFinished(!m_log.blocksPending());
    journal::Event e = journal::Event::now(journal::EventKind::Output);
    e.lines = int(blockLines);
    e.written = !m_log.blocksPending();
    emit journalEvent(e);
}
