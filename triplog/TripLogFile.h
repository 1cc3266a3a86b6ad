#pragma once

#include <QString>

// Appends blocks of the trip log to log.txt. Earlier blocks are never rewritten, so a
// failure can only ever cost the block being written, and that block is kept by the caller.
namespace TripLogFile {

// Appends `text` (CR LF lines, UTF-8) and makes sure it is on disk before returning true.
// A file that does not end with a line end gets CR LF first. On failure the file is left
// as it was and `error` says why.
//
// The file is opened for appending and locked (flock) for the whole output, so that two
// copies of the program writing to one log.txt keep both blocks whole. A symbolic link or
// anything else that is not a regular file is refused, never followed or written into.
bool append(const QString& path, const QString& text, QString* error);

// Blocks that could not be appended by the program's end, kept in a file of their own for
// the next start. keep() writes `text` as the whole file, through a new file renamed into
// place, so that a failure leaves the earlier one as it was; whatever stands at `path`,
// a link included, is replaced and never written through.
bool keep(const QString& path, const QString& text, QString* error);
// The text keep() left, empty when there is none (`error` then stays empty). Read as
// log.txt is written: a link or anything but a regular file is refused, as is a file
// larger than a trip log ever grows.
QString kept(const QString& path, QString* error);
// Removes the kept file once its blocks are in log.txt.
bool forget(const QString& path, QString* error);

} // namespace TripLogFile
