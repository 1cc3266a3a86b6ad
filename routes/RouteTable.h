#pragma once

#include "routes/RouteLines.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The route and fare table: one entry per line of routes.dat, in file order.
// A line is "route#destination#fare"; see split() for how it is cut.
namespace RouteTable {

// The result of the first-hash split of one line. A line without "#" has no route
// field; a rest without "#" has no destination and no fare field. Nothing is trimmed.
struct Fields {
    bool hasRoute = false;
    QString route;
    bool hasDest = false; // also means the fare field exists
    QString dest;
    QString fare; // everything after the second "#", further "#" included
};
Fields split(QStringView line);

// Bytes to text: valid UTF-8 (a leading BOM skipped) is read as UTF-8, anything else as
// Big5. Then cut into lines: CR LF, a lone CR and a lone LF each end a line; a last line
// without a line end counts, a final line end adds no empty entry. Any other control
// character (below U+0020, and U+0080 to U+009F) and the line and paragraph separators
// (U+2028, U+2029) are dropped, so that no field can start a line of its own in the trip
// log or on a display.
RouteLines decodeLines(const QByteArray& bytes);

// What load() refuses.
inline constexpr qsizetype MaxLineLength = 4096; // characters, as cut, before any is dropped
inline constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
// Four times the largest table measured; a file of more lines is no route table, and the
// count is taken from the bytes, before anything is decoded.
inline constexpr qsizetype MaxLines = 4'000'000;

struct LoadResult {
    RouteLines lines;
    bool ok = true; // false when the file is refused or cannot be read; lines is then empty
    QString error;  // the reason, for the user
};
// decodeLines() with the limits above checked. Taken by value: the bytes are let go as soon
// as they are decoded, so that a large file is not held twice over.
LoadResult fromBytes(QByteArray bytes);
// Reads the file at `path`: only a regular file, looked at before it is opened, so that a
// FIFO or a device can never hold the program up, and of at most MaxFileBytes.
LoadResult load(const QString& path);

// The entry at index i, or an empty text outside the list.
QString entry(const RouteLines& lines, qsizetype i);

// Route entry: the first line whose route field equals `route` exactly and whose
// destination field exists and is not empty.
std::optional<qsizetype> findRoute(const RouteLines& lines, const QString& route);

// Direction change: the first line of route `route` whose destination differs from `dest`.
// Like route entry, it passes over lines without a destination field or with an empty one.
std::optional<qsizetype> findOtherDirection(const RouteLines& lines, const QString& route,
                                            const QString& dest);

// Section stepping: current + step (step is +1 or -1) when that line has the same route
// and destination fields as the current line; nothing otherwise (no wrap-around). A current
// line without both fields, or an index outside the list, has no neighbouring section.
std::optional<qsizetype> stepSection(const RouteLines& lines, qsizetype current, int step);

} // namespace RouteTable
