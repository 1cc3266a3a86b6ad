#include "platform/StoreFile.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringDecoder>

#include <utility>

namespace StoreFile {

namespace {

QString& lastError()
{
    // QSettings calls the reader on the thread that reads the store.
    thread_local QString error;
    return error;
}

QString& writeError()
{
    thread_local QString error;
    return error;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Raw bytes of a value are UTF-8, as QSettings writes them; broken sequences become
// replacement characters, as they do for QSettings. Not QString::fromUtf8, which drops a
// U+FEFF at the start of the bytes as a byte order mark: a text may hold one right after
// an escape.
void appendUtf8(QString& out, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    out += utf8.decode(bytes);
}

// A key or section name as QSettings spells it: "\" for "/", "%XX" and "%UXXXX" for
// other characters, the bytes between them UTF-8 as in a value.
QString unescapedKey(QByteArrayView key)
{
    QString out;
    out.reserve(key.size());
    qsizetype i = 0;
    while (i < key.size()) {
        const char c = key[i];
        if (c == '\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == '%' && i + 1 < key.size()) {
            const bool wide = key[i + 1] == 'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            if (first + digits <= key.size()) {
                int code = 0;
                bool ok = true;
                for (qsizetype d = first; d < first + digits && ok; ++d) {
                    const int v = hexValue(key[d]);
                    ok = v >= 0;
                    code = code * 16 + v;
                }
                if (ok) {
                    out += QChar(char16_t(code));
                    i = first + digits;
                    continue;
                }
            }
        }
        // A run of plain bytes at once, so that a character spelt in several is whole.
        qsizetype j = i + 1;
        while (j < key.size() && key[j] != '\\' && key[j] != '%')
            ++j;
        appendUtf8(out, key.sliced(i, j - i));
        i = j;
    }
    return out;
}

// A value as QSettings unescapes one text: blanks before it skipped, quotes removed (text
// between them kept as it is, commas included), the C escapes and \x and octal numbers
// turned into their characters, an unknown escape dropped, blanks at the end of a value
// without quotes cut off. A comma outside quotes, which QSettings would take for a list,
// stays part of the text.
QString unescapedValue(QByteArrayView v, bool* serialised)
{
    QString out;
    out.reserve(v.size());
    qsizetype i = 0;
    while (i < v.size() && isBlank(v[i]))
        ++i;
    bool quoted = false;
    bool inQuotes = false;
    qsizetype keep = 0; // blanks before this length are never cut off
    while (i < v.size()) {
        const char c = v[i];
        if (c == '"') {
            quoted = true;
            inQuotes = !inQuotes;
            ++i;
            if (!inQuotes)
                while (i < v.size() && isBlank(v[i]))
                    ++i;
            keep = out.size();
            continue;
        }
        if (c != '\\') {
            qsizetype j = i + 1;
            while (j < v.size() && v[j] != '\\' && v[j] != '"')
                ++j;
            appendUtf8(out, v.sliced(i, j - i));
            i = j;
            continue;
        }
        // An escape. The reader has made sure no backslash ends the line.
        ++i;
        const char e = v[i++];
        switch (e) {
        case 'a':
            out += u'\a';
            break;
        case 'b':
            out += u'\b';
            break;
        case 'f':
            out += u'\f';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 'v':
            out += u'\v';
            break;
        case '"':
        case '?':
        case '\'':
        case '\\':
            out += QLatin1Char(e);
            break;
        case 'x': {
            // Any number of digits; like QSettings, the character is the value's low 16 bits.
            if (i < v.size() && hexValue(v[i]) >= 0) {
                char16_t code = 0;
                for (; i < v.size() && hexValue(v[i]) >= 0; ++i)
                    code = char16_t(code * 16 + hexValue(v[i]));
                out += QChar(code);
            }
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                char16_t code = char16_t(e - '0');
                for (; i < v.size() && v[i] >= '0' && v[i] <= '7'; ++i)
                    code = char16_t(code * 8 + (v[i] - '0'));
                out += QChar(code);
            }
            break; // any other escaped character is dropped
        }
        keep = out.size();
    }
    if (!quoted) {
        qsizetype end = out.size();
        while (end > keep && (out[end - 1] == u' ' || out[end - 1] == u'\t'))
            --end;
        out.truncate(end);
    }
    // "@@" is how a text beginning with "@" is written, "@String(...)" one holding a NUL.
    // Anything else beginning with "@" is a serialised object to QSettings: never decoded
    // here, and the caller refuses the file, which no hand edit of the program's texts
    // can give.
    *serialised = false;
    if (out.startsWith(QLatin1String("@@")))
        out.remove(0, 1);
    else if (out.startsWith(QLatin1String("@String(")) && out.endsWith(u')'))
        out = out.sliced(8).chopped(1);
    else
        *serialised = out.startsWith(u'@');
    return out;
}

// QSettings' key rules: no empty parts, no slash at either end.
QString normalizedKey(const QString& key)
{
    return key.split(u'/', Qt::SkipEmptyParts).join(u'/');
}

// One line as QSettings cuts it, with what QSettings would read past the line's end.
struct Line {
    qsizetype equals = -1; // the first "=" outside quotes
    qsizetype end = 0;     // where a ";" outside quotes starts a comment, or the line's end
    QString problem;       // why QSettings would go on into the next line
};

Line scan(QByteArrayView line)
{
    Line l;
    l.end = line.size();
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            if (i + 1 == line.size()) {
                l.problem = QCoreApplication::translate("StoreFile", "以反斜線結束，會接上下一行");
                return l;
            }
            ++i;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '=' && !inQuotes && l.equals < 0) {
            l.equals = i;
        } else if (c == ';' && !inQuotes) {
            l.end = i;
            return l;
        }
    }
    if (inQuotes)
        l.problem = QCoreApplication::translate("StoreFile", "有引號沒有結束，會吞掉後面各行");
    return l;
}

QByteArrayView trimmedEnd(QByteArrayView b)
{
    while (!b.isEmpty() && isBlank(b.back()))
        b.chop(1);
    return b;
}

void escapeKey(const QString& key, QByteArray& out)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hex[c / 16];
            out += hex[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(c >> shift) & 0xF];
        }
    }
}

bool isHexDigit(char16_t c)
{
    return c < 0x80 && hexValue(char(c)) >= 0;
}

// A text as QSettings writes one: in "@String(...)" when it holds a NUL, otherwise with
// "@" doubled at the start; C escapes for control characters, quotes around a text with
// ";", "," or "=" or a blank at either end, and every other character in UTF-8. A surrogate
// without its partner, which UTF-8 cannot carry, is written as a \x escape so that it
// reads back as itself.
void escapeValue(const QString& text, QByteArray& out)
{
    const qsizetype start = out.size();
    const QString s = text.contains(QChar::Null) ? QStringLiteral("@String(") + text + u')'
                      : text.startsWith(u'@')    ? u'@' + text
                                                 : text;
    bool quotes = false;
    bool hexNext = false; // a hex digit right after a numeric escape would join it
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == u';' || c == u',' || c == u'=')
            quotes = true;
        if (hexNext && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        hexNext = false;
        switch (c) {
        case u'\0':
            out += "\\0";
            hexNext = true;
            break;
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c < 0x20) {
                out += "\\x" + QByteArray::number(c, 16);
                hexNext = true;
            } else if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
                out += QStringView(s).sliced(i, 2).toUtf8();
                ++i;
            } else if (QChar::isSurrogate(c)) {
                out += "\\x" + QByteArray::number(c, 16);
                hexNext = true;
            } else if (c < 0x80) {
                out += char(c);
            } else {
                out += QStringView(&s.constData()[i], 1).toUtf8();
            }
        }
    }
    if (quotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

bool readDevice(QIODevice& device, QSettings::SettingsMap& map)
{
    // One byte more than allowed tells a file that is too large.
    const QByteArray bytes = device.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes) {
        lastError() = QCoreApplication::translate("StoreFile", "檔案大於 1 MiB");
        return false;
    }
    QString error;
    const bool ok = read(bytes, map, &error);
    lastError() = error;
    return ok;
}

bool writeDevice(QIODevice& device, const QSettings::SettingsMap& map)
{
    const QByteArray bytes = write(map);
    // What the reader would refuse is never written: the next start would lose every
    // value, the card with them, instead of this one change.
    QSettings::SettingsMap back;
    if (bytes.size() > MaxBytes)
        writeError() = QCoreApplication::translate("StoreFile", "檔案會大於 1 MiB，下次便不能讀取");
    else if (!read(bytes, back))
        writeError() = QCoreApplication::translate("StoreFile", "寫出的內容不能讀回");
    else
        writeError().clear();
    if (!writeError().isEmpty())
        return false;
    return device.write(bytes) == bytes.size();
}

} // namespace

QString path()
{
    // A format that reads nothing and names its files differently: it finds the folder the
    // store lives in without QSettings reading, or caching, the store itself.
    static const QSettings::Format probe = QSettings::registerFormat(
        QStringLiteral("probe"), [](QIODevice&, QSettings::SettingsMap&) { return true; },
        [](QIODevice&, const QSettings::SettingsMap&) { return true; });
    QString name = QSettings(probe, QSettings::UserScope, QStringLiteral("Quillmere"),
                             QStringLiteral("pelumo"))
                       .fileName();
    name.chop(int(qstrlen("probe")));
    return name + QStringLiteral("conf");
}

QSettings::Format format()
{
    static const QSettings::Format f = QSettings::registerFormat(QStringLiteral("conf"), readDevice,
                                                                 writeDevice, Qt::CaseSensitive);
    return f;
}

QString lastReadError()
{
    return lastError();
}

QString takeWriteError()
{
    return std::exchange(writeError(), QString());
}

bool read(QByteArrayView bytes, QSettings::SettingsMap& map, QString* error)
{
    QString section; // "" or "group/"
    qsizetype lineNo = 0;
    // An editor that saves UTF-8 with a byte order mark puts it before the first section;
    // QSettings passes over it, and so does this.
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size()) {
        qsizetype stop = start;
        while (stop < bytes.size() && bytes[stop] != '\n' && bytes[stop] != '\r')
            ++stop;
        ++lineNo;
        QByteArrayView line = bytes.sliced(start, stop - start);
        start = stop + 1;
        while (!line.isEmpty() && isBlank(line.front()))
            line = line.sliced(1);
        if (line.isEmpty() || line.front() == ';')
            continue;
        const Line l = scan(line);
        if (!l.problem.isEmpty()) {
            if (error)
                *error = QCoreApplication::translate("StoreFile", "第 %1 行%2")
                             .arg(lineNo)
                             .arg(l.problem);
            return false;
        }
        line = line.first(l.end);
        if (line.front() == '[') {
            // A section: up to the first "]", or the rest of the line when there is none.
            const qsizetype close = line.indexOf(']');
            const QByteArrayView name =
                line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0) {
                section.clear();
            } else {
                // "[%General]" is a group that is really called General.
                const bool general = name.compare("%general", Qt::CaseInsensitive) == 0;
                section = normalizedKey(general ? QString::fromLatin1(name.sliced(1))
                                                : unescapedKey(name));
                if (!section.isEmpty())
                    section += u'/';
            }
            continue;
        }
        if (l.equals < 0)
            continue; // no value: nothing QSettings would read either
        const QString child = normalizedKey(unescapedKey(trimmedEnd(line.first(l.equals))));
        if (child.isEmpty())
            continue; // an empty key names nothing
        bool serialised = false;
        const QString value = unescapedValue(line.sliced(l.equals + 1), &serialised);
        if (serialised) {
            if (error)
                *error = QCoreApplication::translate(
                             "StoreFile", "第 %1 行的值以「@」開頭，是序列化的物件而不是文字")
                             .arg(lineNo);
            return false;
        }
        map.insert(section + child, value);
    }
    return true;
}

QByteArray write(const QSettings::SettingsMap& map)
{
#ifdef Q_OS_WIN
    const char* eol = "\r\n";
#else
    const char* eol = "\n";
#endif
    // Keys without a group go under [General], as QSettings writes them; the map's order
    // puts each group's keys together.
    QMap<QString, QByteArray> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        const QString group = slash < 0 ? QString() : it.key().first(slash);
        QByteArray& lines = sections[group];
        escapeKey(slash < 0 ? it.key() : it.key().sliced(slash + 1), lines);
        lines += '=';
        escapeValue(it.value().toString(), lines);
        lines += eol;
    }
    QByteArray out;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!out.isEmpty())
            out += eol;
        if (it.key().isEmpty()) {
            out += "[General]";
        } else {
            out += '[';
            if (it.key().compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
                out += '%';
            escapeKey(it.key(), out);
            out += ']';
        }
        out += eol;
        out += it.value();
    }
    return out;
}

} // namespace StoreFile
