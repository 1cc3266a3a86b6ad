#pragma once

#include <QByteArray>
#include <QString>

// The settings store's file, looked at before QSettings reads it. QSettings turns a value
// spelt "@Variant(...)" back into the object it serialises and trusts the sizes written
// inside, so a damaged or hand-edited file could make it reserve gigabytes. Every value the
// program keeps is plain text, so no line that could spell such a value is let through.
namespace StoreFile {

// The store's file, in the folder QSettings::setPath gives for the user scope.
QString path();

// The bytes with every line that is not plain cut back to its key and "=" (the value then
// reads as empty), or emptied when it has no "=". A plain line, which stays as it is, is
// one QSettings can read only as text: no element of its value begins with "@" unless it
// is an escaped "@" ("@@") or "@String(", also when spelt with numeric escapes ("\x40",
// "\100"), and it is not continued on the next line.
QByteArray plain(const QByteArray& bytes);

// Makes the file at `path` plain in place. False only when it is not plain and cannot be
// rewritten; it must not be handed to QSettings then.
bool makePlain(const QString& path);

} // namespace StoreFile
