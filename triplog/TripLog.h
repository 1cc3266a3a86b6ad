#pragma once

#include <QString>

// Everything the trip log records, in one place. A line is a date (mm-dd-yyyy) alone, or
// the time (hh:mm:ss) followed by one of these event texts.
enum class TripEvent {
    StartLogging, // the program started
    RouteChanged, // + the route text
    FareChanged,  // + the fare as the route line writes it
    StartTrip,
    FinishedTrip,
    DirectionChanged,
    NotEnoughValue,
    CardProcessed,
    Paid,     // + the full fare, "0.00"
    BlockEnd, // closes every block written to log.txt
    LogReset, // opens the log that follows an output
};

// The in-memory trip log of one run, and the blocks an output has taken from it but not
// yet got into log.txt. Lines end with CR LF.
class TripLog {
public:
    // The event text as it follows the time: " Route Changed 12".
    static QString eventText(TripEvent event, const QString& detail = QString());

    // A new log: the date, then " Start Logging".
    TripLog();

    // Appends one whole line.
    void add(const QString& line);
    // Appends the current time followed by the event text.
    void log(TripEvent event, const QString& detail = QString());

    const QString& text() const { return m_text; }
    // Something that log.txt does not hold yet and that the program's end would lose: a
    // line logged after the log's opening date and event, or a block an output could not
    // write.
    bool hasUnwritten() const;
    bool blocksPending() const { return !m_unwritten.isEmpty(); }
    // The lines of the blocks still to be written.
    qsizetype pendingLines() const { return m_unwritten.count(QStringLiteral("\r\n")); }

    // Takes the log as one block, closed with " -----" earlier and ended with an empty
    // line, into the blocks still to be written, and starts the next log with the date and
    // " Log Reset". Nothing logged afterwards can fall between the two.
    void takeBlock();
    // Appends the blocks still to be written to `path`; they are kept when that fails.
    bool writeBlocks(const QString& path, QString* error);
    // The blocks still to be written, as they would go to log.txt.
    const QString& pendingBlocks() const { return m_unwritten; }
    // Blocks an earlier run could not write, to go before this run's.
    void restoreBlocks(const QString& blocks) { m_unwritten.prepend(blocks); }

private:
    QString m_text;
    QString m_unwritten;
};
