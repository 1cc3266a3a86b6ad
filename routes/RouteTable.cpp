#include "routes/RouteTable.h"

#include "common/SafeFile.h"

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

FieldViews fieldsAt(const QStringList& lines, qsizetype i)
{
    if (i < 0 || i >= lines.size())
        return {};
    return splitView(lines.at(i));
}

QString decodeText(const QByteArray& bytes)
{
    // Stateless, so that a sequence cut off at the end of the file counts as an error
    // instead of waiting for more input. The decoder skips a leading BOM by itself.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;

    QStringDecoder big5("Big5", QStringConverter::Flag::Stateless);
    if (big5.isValid()) {
        // ICU silently drops a lead byte left dangling at the very end, and with it a last
        // line made of nothing else. A final LF turns it into a replacement character like
        // any other broken byte; LF is never a trail byte, so it comes back out unchanged.
        QString decoded = big5.decode(bytes + '\n');
        decoded.chop(1);
        return decoded;
    }
    // A Qt built without ICU has no Big5; Latin-1 keeps every byte and every line end.
    return QString::fromLatin1(bytes);
}

// Characters that never stay in a line: the C0 and C1 controls (NEL and CSI among the
// latter) and the line and paragraph separators. Each would break a line of
// log.txt or the display in a viewer, and could forge a line of its own there.
bool dropped(char16_t c)
{
    return c < 0x20 || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Cuts the decoded text into `lines` and drops the other characters that never stay. Returns the
// number (from 1) of the first line longer than `limit` characters and stops there, or 0;
// a limit of 0 checks nothing. CR and LF never occur inside a multi-byte character of
// either encoding, so cutting the decoded text is the same as cutting the bytes.
qsizetype cutLines(QStringView all, QStringList& lines, qsizetype limit)
{
    const char16_t* text = all.utf16();
    const qsizetype size = all.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        bool controls = false;
        for (; end < size; ++end) {
            const char16_t c = text[end];
            // Line ends are dropped characters too: one test passes over the usual ones.
            if (!dropped(c))
                continue;
            if (c == u'\r' || c == u'\n')
                break;
            controls = true;
        }
        if (limit > 0 && end - start > limit)
            return lines.size() + 1;
        const QStringView line = all.sliced(start, end - start);
        if (!controls) {
            lines.append(line.toString());
        } else {
            QString kept;
            kept.reserve(line.size());
            for (const QChar c : line)
                if (!dropped(c.unicode()))
                    kept.append(c);
            lines.append(kept);
        }
        if (end < size)
            end += (text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') ? 2 : 1;
        start = end;
    }
    return 0;
}

LoadResult refused(const QString& why)
{
    LoadResult r;
    r.ok = false;
    r.error = why;
    return r;
}

} // namespace

Fields split(const QString& line)
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

QStringList decodeLines(const QByteArray& bytes)
{
    QStringList lines;
    cutLines(decodeText(bytes), lines, 0);
    return lines;
}

LoadResult fromBytes(const QByteArray& bytes)
{
    LoadResult result;
    const qsizetype tooLong = cutLines(decodeText(bytes), result.lines, MaxLineLength);
    if (tooLong > 0) {
        result.lines.clear();
        return refused(QStringLiteral("第 %1 行超過 %2 個字元").arg(tooLong).arg(MaxLineLength));
    }
    return result;
}

LoadResult load(const QString& path)
{
    const SafeFile::Contents file = SafeFile::read(path, MaxFileBytes);
    if (!file.error.isEmpty())
        return refused(file.error);
    return fromBytes(file.bytes);
}

QString entry(const QStringList& lines, qsizetype i)
{
    return i >= 0 && i < lines.size() ? lines.at(i) : QString();
}

std::optional<qsizetype> findRoute(const QStringList& lines, const QString& route)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const FieldViews f = splitView(lines.at(i));
        if (f.hasRoute && f.route == route && f.hasDest && !f.dest.isEmpty())
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> findOtherDirection(const QStringList& lines, const QString& route,
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

std::optional<qsizetype> stepSection(const QStringList& lines, qsizetype current, int step)
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
