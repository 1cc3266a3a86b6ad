#pragma once

#include <QString>
#include <QStringList>

// The trip log's format: lines of the in-memory log and blocks of log.txt.
namespace LogFormat {

// Why `line` is no trip-log line, or an empty text when it is one: a date mm-dd-yyyy
// alone, or a time hh:mm:ss followed by one of the event texts the program logs. Route
// and fare texts after " Route Changed " and " Fare Changed " must be among `routes` and
// `fares` when those are given.
QString lineFault(const QString& line, const QStringList* routes = nullptr,
                  const QStringList* fares = nullptr);

// Why `text` is not a sequence of whole blocks, or an empty text: each block a date line,
// " Start Logging" or " Log Reset", further timed lines, " -----", and an empty line.
QString fileFault(const QString& text);

// The lines of a text whose lines end with CR LF; a last line without one is kept.
QStringList lines(const QString& text);

} // namespace LogFormat
