#include "platform/StoreFile.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>

namespace StoreFile {

namespace {

int digitValue(char c, int base)
{
    const int v = (c >= '0' && c <= '9')   ? c - '0'
                  : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                           : 99;
    return v < base ? v : -1;
}

// True when a value QSettings unescapes can have no element beginning with "@" but "@@"
// (an escaped "@") or "@String(" (text). An element starts at the value's start and after
// each comma outside quotes; spaces, quotes and escapes that may stand for nothing do not
// end that start. A numeric escape stands for its value modulo 65536, so "\x10040" is
// an "@" too.
bool plainValue(QByteArrayView value)
{
    bool quoted = false;
    bool started = false; // the element has some character already
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            started = false;
        } else if ((c == ' ' || c == '\t') && !quoted && !started) {
            // skipped before an element
        } else if (c == '@' && !started) {
            const QByteArrayView rest = value.sliced(i);
            if (!rest.startsWith("@@") && !rest.startsWith("@String("))
                return false;
            started = true;
            ++i;
        } else if (c == '\\' && i + 1 < value.size()) {
            const char next = value[i + 1];
            const int base = next == 'x' ? 16 : digitValue(next, 8) >= 0 ? 8 : 0;
            if (base == 0) {
                ++i; // a one-letter escape
                continue;
            }
            qsizetype j = base == 16 ? i + 2 : i + 1;
            unsigned code = 0;
            bool digits = false;
            for (; j < value.size() && digitValue(value[j], base) >= 0; ++j) {
                code = (code * unsigned(base) + unsigned(digitValue(value[j], base))) & 0xffffu;
                digits = true;
            }
            if (digits && code == '@' && !started)
                return false;
            started = started || digits;
            i = j - 1;
        } else {
            started = true;
        }
    }
    return true;
}

// A backslash escapes the character after it; one left over at the end escapes the line
// end, and QSettings joins the next line on.
bool continued(QByteArrayView line)
{
    bool escaping = false;
    for (char c : line)
        escaping = !escaping && c == '\\';
    return escaping;
}

// A line QSettings can only read as text. Its key is never decoded; a continued line could
// complete an escape begun here.
bool plainLine(QByteArrayView line)
{
    if (continued(line))
        return false;
    const qsizetype eq = line.indexOf('=');
    return plainValue(line.sliced(eq + 1));
}

// QSettings ends a line at either CR or LF.
bool lineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

QString path()
{
    // A format that reads nothing and names its files differently: it finds the folder the
    // store lives in without QSettings parsing, or caching, the store itself.
    static const QSettings::Format probe = QSettings::registerFormat(
        QStringLiteral("probe"), [](QIODevice&, QSettings::SettingsMap&) { return true; },
        [](QIODevice&, const QSettings::SettingsMap&) { return true; });
    QString name = QSettings(probe, QSettings::UserScope, QStringLiteral("Quillmere"),
                             QStringLiteral("pelumo"))
                       .fileName();
    name.chop(int(qstrlen("probe")));
    return name + QStringLiteral("conf");
}

QByteArray plain(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && !lineEnd(bytes[end]))
            ++end;
        const QByteArrayView line(bytes.constData() + start, end - start);
        if (plainLine(line)) {
            out += line;
        } else {
            const qsizetype eq = line.indexOf('=');
            if (eq >= 0)
                out += line.first(eq + 1);
        }
        while (end < bytes.size() && lineEnd(bytes[end]))
            out += bytes[end++];
        start = end;
    }
    return out;
}

bool makePlain(const QString& path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return true; // QSettings cannot read it either
    const QByteArray bytes = in.readAll();
    in.close();
    const QByteArray mended = plain(bytes);
    if (mended == bytes)
        return true;
    QSaveFile out(path);
    // As QSettings itself writes: in place when the folder does not take a new file.
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(mended) != mended.size())
        return false;
    return out.commit();
}

} // namespace StoreFile
