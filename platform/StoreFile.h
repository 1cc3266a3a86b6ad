#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSettings>
#include <QString>

// The settings store's file format: the INI layout QSettings writes, with every value kept
// as text. QSettings' own INI reader turns a value spelt "@Variant(...)", "@ByteArray(...)"
// and the like back into the object it serialises, trusting the sizes and the nesting
// written inside; a damaged or hand-edited file could make it reserve gigabytes or run out
// of stack. This format never decodes such a value: it stays the text it is.
//
// Files QSettings writes for text values read the same, and QSettings reads the files
// written here as the same texts. Unlike QSettings, a line never goes on to the next one:
// a quotation mark left open, or a backslash at the end of a line, which would make
// QSettings take the following lines into the value, makes the whole file unreadable, so
// that a store that could not be read whole is never written over.
namespace StoreFile {

// The store's file, in the folder QSettings::setPath gives for the user scope.
QString path();

// The format, registered with QSettings on first use.
QSettings::Format format();

// Larger stores are refused before they are read: the program's own is a few lines.
inline constexpr qint64 MaxBytes = 1024 * 1024;

// Reads a file's bytes into `map` (keys as QSettings names them, "group/key"; values as
// QString). False, with the reason in `error` and `map` as far as it got, when the bytes
// cannot be read whole.
bool read(QByteArrayView bytes, QSettings::SettingsMap& map, QString* error = nullptr);

// The file's bytes for `map`; every value is written as its text.
QByteArray write(const QSettings::SettingsMap& map);

// Why the latest read through format() failed, for the message.
QString lastReadError();
// Why the latest write through format() was refused, for the message, and forgets it;
// empty when none was (the system may still have failed to save it).
QString takeWriteError();

} // namespace StoreFile
