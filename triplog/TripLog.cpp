#include "triplog/TripLog.h"

#include "common/Clock.h"
#include "triplog/TripLogFile.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString TripLog::eventText(TripEvent event, const QString& detail)
{
    switch (event) {
    case TripEvent::StartLogging:
        return QStringLiteral(" Start Logging");
    case TripEvent::RouteChanged:
        return QStringLiteral(" Route Changed ") + detail;
    case TripEvent::FareChanged:
        return QStringLiteral(" Fare Changed ") + detail;
    case TripEvent::StartTrip:
        return QStringLiteral(" Start Trip");
    case TripEvent::FinishedTrip:
        return QStringLiteral(" Finished Trip");
    case TripEvent::DirectionChanged:
        return QStringLiteral(" Direction Changed");
    case TripEvent::NotEnoughValue:
        return QStringLiteral(" Not enough value");
    case TripEvent::CardProcessed:
        return QStringLiteral(" Card Processed");
    case TripEvent::Paid:
        return QStringLiteral(" Paid: Adult Fare $") + detail;
    case TripEvent::BlockEnd:
        return QStringLiteral(" -----");
    case TripEvent::LogReset:
        return QStringLiteral(" Log Reset");
    }
    return QString();
}

TripLog::TripLog()
{
    add(Clock::dateText());
    log(TripEvent::StartLogging);
}

void TripLog::add(const QString& line)
{
    m_text += line;
    m_text += CrLf;
}

void TripLog::log(TripEvent event, const QString& detail)
{
    add(Clock::timeText() + eventText(event, detail));
}

bool TripLog::hasUnwritten() const
{
    // A log opens with two lines: the date and " Start Logging" or " Log Reset".
    return blocksPending() || m_text.count(CrLf) > 2;
}

void TripLog::takeBlock()
{
    m_unwritten += m_text + CrLf;
    m_text.clear();
    add(Clock::dateText());
    log(TripEvent::LogReset);
}

bool TripLog::writeBlocks(const QString& path, QString* error)
{
    if (!TripLogFile::append(path, m_unwritten, error))
        return false;
    m_unwritten.clear();
    return true;
}
