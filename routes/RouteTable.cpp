#include "routes/RouteTable.h"

#include "common/SafeFile.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringView>

namespace RouteTable {

namespace {

// The split without copies: the searches run over every line of the table, which may be
// a million lines long.
struct FieldViews {
    bool hasRoute = false;
    bool hasDest = false;
    QStringView route;
    QStringView dest;
    QStringView fare;
};

FieldViews splitView(QStringView line)
{
    FieldViews f;
    const qsizetype first = line.indexOf(u'#');
    if (first < 0)
        return f;
    f.hasRoute = true;
    f.route = line.first(first);
    const QStringView rest = line.sliced(first + 1);
    const qsizetype second = rest.indexOf(u'#');
    if (second < 0)
        return f;
    f.hasDest = true;
    f.dest = rest.first(second);
    f.fare = rest.sliced(second + 1);
    return f;
}

FieldViews fieldsAt(const RouteLines& lines, qsizetype i)
{
    if (i < 0 || i >= lines.size())
        return {};
    return splitView(lines.at(i));
}

// Lines as the bytes end them; CR and LF are never part of a multi-byte character in
// either encoding, so this is the count that cutLines() finds.
qsizetype countLines(const QByteArray& bytes)
{
    const char* p = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (p[i] == '\n') {
            ++n;
        } else if (p[i] == '\r') {
            ++n;
            if (i + 1 < size && p[i + 1] == '\n')
                ++i;
        }
    }
    if (size > 0 && p[size - 1] != '\n' && p[size - 1] != '\r')
        ++n;
    return n;
}

// Takes the bytes, so that they go as soon as the text stands: a large file is then never
// held as bytes and as text and as lines at once.
QString decodeText(QByteArray bytes)
{
    {
        // Stateless, so that a sequence cut off at the end of the file counts as an error
        // instead of waiting for more input. The decoder skips a leading BOM by itself.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }

    QStringDecoder big5("Big5", QStringConverter::Flag::Stateless);
    if (big5.isValid()) {
        // ICU silently drops a lead byte left dangling at the very end, and with it a last
        // line made of nothing else. A final LF turns it into a replacement character like
        // any other broken byte; LF is never a trail byte, so it comes back out unchanged.
        bytes.append('\n');
        QString decoded = big5.decode(bytes);
        decoded.chop(1);
        return decoded;
    }
    // A Qt built without ICU has no Big5; Latin-1 keeps every byte and every line end.
    return QString::fromLatin1(bytes);
}

// Characters that never stay in a line: the C0 and C1 controls (NEL and CSI among the
// latter) and the line and paragraph separators. Each would break a line of log.txt or the
// display in a viewer, and could forge a line of its own there.
bool dropped(char16_t c)
{
    return c < 0x20 || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Cuts the decoded text into lines where it stands: line ends and the other dropped
// characters are taken out and the rest moved up, so the lines need no second copy of the
// text. Returns the number (from 1) of the first line longer than `limit` characters (a
// surrogate pair is one) and stops there, or 0; a limit of 0 checks nothing.
qsizetype cutLines(QString& text, QList<qsizetype>& ends, qsizetype limit)
{
    char16_t* d = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    qsizetype read = 0;
    qsizetype kept = 0; // never ahead of `read`: what is moved up has been read already
    while (read < size) {
        const qsizetype start = read;
        qsizetype pairs = 0;
        bool high = false;
        for (; read < size; ++read) {
            const char16_t c = d[read];
            if (dropped(c)) {
                // Line ends are dropped characters too: one test passes over the usual ones.
                if (c == u'\r' || c == u'\n')
                    break;
                high = false;
                continue;
            }
            if (high && QChar::isLowSurrogate(c))
                ++pairs;
            high = QChar::isHighSurrogate(c);
            d[kept++] = c;
        }
        if (limit > 0 && read - start - pairs > limit)
            return ends.size() + 1;
        ends.append(kept);
        if (read < size)
            read += (d[read] == u'\r' && read + 1 < size && d[read + 1] == u'\n') ? 2 : 1;
    }
    text.truncate(kept);
    return 0;
}

RouteLines cut(QByteArray bytes, qsizetype limit, qsizetype* tooLong)
{
    QList<qsizetype> ends;
    ends.reserve(countLines(bytes));
    QString text = decodeText(std::move(bytes));
    const qsizetype longLine = cutLines(text, ends, limit);
    if (tooLong)
        *tooLong = longLine;
    if (longLine > 0)
        return {};
    return RouteLines(std::move(text), std::move(ends));
}

LoadResult refused(const QString& why)
{
    LoadResult r;
    r.ok = false;
    r.error = why;
    return r;
}

} // namespace

Fields split(QStringView line)
{
    const FieldViews v = splitView(line);
    Fields f;
    f.hasRoute = v.hasRoute;
    f.route = v.route.toString();
    f.hasDest = v.hasDest;
    f.dest = v.dest.toString();
    f.fare = v.fare.toString();
    return f;
}

RouteLines decodeLines(const QByteArray& bytes)
{
    return cut(bytes, 0, nullptr);
}

LoadResult fromBytes(QByteArray bytes)
{
    if (countLines(bytes) > MaxLines)
        return refused(QCoreApplication::translate("RouteTable", "檔案多於 %1 行").arg(MaxLines));
    LoadResult result;
    qsizetype tooLong = 0;
    result.lines = cut(std::move(bytes), MaxLineLength, &tooLong);
    if (tooLong > 0)
        return refused(QCoreApplication::translate("RouteTable", "第 %1 行超過 %2 個字元")
                           .arg(tooLong)
                           .arg(MaxLineLength));
    return result;
}

LoadResult load(const QString& path)
{
    SafeFile::Contents file = SafeFile::read(path, MaxFileBytes);
    if (!file.error.isEmpty())
        return refused(file.error);
    return fromBytes(std::move(file.bytes));
}

QString entry(const RouteLines& lines, qsizetype i)
{
    return lines.value(i);
}

std::optional<qsizetype> findRoute(const RouteLines& lines, const QString& route)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const FieldViews f = splitView(lines.at(i));
        if (f.hasRoute && f.route == route && f.hasDest && !f.dest.isEmpty())
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> findOtherDirection(const RouteLines& lines, const QString& route,
                                            const QString& dest)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const FieldViews f = splitView(lines.at(i));
        // A line with an empty destination is no direction: route entry never lands on it
        // either, and turning onto it would leave the driver on a route going nowhere.
        if (f.hasRoute && f.route == route && f.hasDest && !f.dest.isEmpty() && f.dest != dest)
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> stepSection(const RouteLines& lines, qsizetype current, int step)
{
    if (step != 1 && step != -1)
        return std::nullopt;
    const FieldViews here = fieldsAt(lines, current);
    // A line without both fields belongs to no direction, so it has no neighbouring section.
    if (!here.hasRoute || !here.hasDest)
        return std::nullopt;
    const qsizetype next = current + step;
    const FieldViews there = fieldsAt(lines, next);
    if (there.hasRoute && there.hasDest && there.route == here.route && there.dest == here.dest)
        return next;
    return std::nullopt;
}

} // namespace RouteTable
