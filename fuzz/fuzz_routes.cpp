// routes.dat as any bytes at all: decoding and cutting into lines, the first-hash split,
// and route search, direction change and section stepping over the result. Each result
// is checked against a plain reference written here.
#include "routes/RouteTable.h"

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_routes: %s\n", what);
        std::abort();
    }
}

// Lines as the bytes define them: CR LF, a lone CR and a lone LF each end a line.
qsizetype byteLines(const QByteArray& b)
{
    if (b == QByteArray("\xEF\xBB\xBF"))
        return 0; // a lone byte order mark is an empty UTF-8 file
    qsizetype count = 0;
    bool open = false; // characters since the last line end
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (b[i] == '\r' || b[i] == '\n') {
            ++count;
            open = false;
            if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n')
                ++i;
        } else {
            open = true;
        }
    }
    return open ? count + 1 : count;
}

struct Ref {
    bool hasRoute = false;
    bool hasDest = false;
    QString route, dest, fare;
};

Ref refSplit(const QString& line)
{
    Ref r;
    qsizetype i = 0;
    while (i < line.size() && line[i] != u'#')
        ++i;
    if (i == line.size())
        return r;
    r.hasRoute = true;
    r.route = line.left(i);
    qsizetype j = i + 1;
    while (j < line.size() && line[j] != u'#')
        ++j;
    if (j == line.size())
        return r;
    r.hasDest = true;
    r.dest = line.mid(i + 1, j - i - 1);
    r.fare = line.mid(j + 1);
    return r;
}

bool enterable(const Ref& r, const QString& route)
{
    return r.hasRoute && r.route == route && r.hasDest && !r.dest.isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const RouteLines lines = RouteTable::decodeLines(bytes);
    const QStringList list = lines.toList();

    check(lines.size() == byteLines(bytes), "line count differs from the line ends in the bytes");
    for (const QString& l : list)
        for (const QChar c : l)
            check(c.unicode() >= 0x20, "a line holds a control character");

    // The limits: a line over the length is refused, anything else loads as decoded.
    const RouteTable::LoadResult loaded = RouteTable::fromBytes(bytes);
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const char c : bytes) {
        run = (c == '\r' || c == '\n') ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    // Bytes count at least the characters they decode to.
    if (longest <= RouteTable::MaxLineLength)
        check(loaded.ok && loaded.lines == lines, "a file within the limits is refused");
    if (!loaded.ok)
        check(loaded.lines.isEmpty() && !loaded.error.isEmpty(), "a refusal keeps lines");

    const qsizetype n = lines.size();
    std::vector<Ref> refs;
    refs.reserve(size_t(n));
    for (const QString& l : list) {
        const Ref r = refSplit(l);
        const RouteTable::Fields f = RouteTable::split(l);
        check(f.hasRoute == r.hasRoute && f.hasDest == r.hasDest, "split finds other fields");
        check(f.route == r.route && f.dest == r.dest && f.fare == r.fare, "split cuts elsewhere");
        refs.push_back(r);
    }

    check(RouteTable::entry(lines, -1).isNull() && RouteTable::entry(lines, n).isNull(),
          "entry outside the list is not empty");

    // Route entry: the first enterable line of the route, for the routes of a few lines
    // and for one that no line has.
    QHash<QString, qsizetype> first;
    for (qsizetype i = 0; i < n; ++i)
        if (refs[size_t(i)].hasDest && !refs[size_t(i)].dest.isEmpty() &&
            !first.contains(refs[size_t(i)].route))
            first.insert(refs[size_t(i)].route, i);
    QStringList candidates{QStringLiteral("\x01no such route")};
    for (qsizetype i = 0; i < n && candidates.size() < 9; i += 1 + n / 8)
        if (refs[size_t(i)].hasRoute)
            candidates << refs[size_t(i)].route;
    for (const QString& route : candidates) {
        const auto found = RouteTable::findRoute(lines, route);
        const auto want = first.constFind(route);
        check(found.has_value() == (want != first.constEnd()), "route entry finds another line");
        if (found)
            check(*found == *want, "route entry lands on a later line");
        if (found)
            check(enterable(refs[size_t(*found)], route), "route entry lands on a bad line");

        // Direction change from that line's destination and from one nobody uses.
        for (const QString& dest :
             {found ? refs[size_t(*found)].dest : QString(), QStringLiteral("\x02")}) {
            const auto other = RouteTable::findOtherDirection(lines, route, dest);
            qsizetype wantOther = -1;
            for (qsizetype i = 0; i < n && wantOther < 0; ++i)
                if (enterable(refs[size_t(i)], route) && refs[size_t(i)].dest != dest)
                    wantOther = i;
            check(other.value_or(-1) == wantOther, "direction change finds another line");
        }
    }

    // Section stepping from every line, both ways, and from outside the list.
    for (qsizetype i = -1; i <= n; ++i) {
        for (int step : {-1, 1}) {
            const auto next = RouteTable::stepSection(lines, i, step);
            const qsizetype j = i + step;
            bool want = i >= 0 && i < n && j >= 0 && j < n;
            if (want) {
                const Ref& a = refs[size_t(i)];
                const Ref& b = refs[size_t(j)];
                want = a.hasRoute && a.hasDest && b.hasRoute && b.hasDest && a.route == b.route &&
                       a.dest == b.dest;
            }
            check(next.has_value() == want, "section step goes elsewhere");
            if (next) {
                check(*next == j, "section step skips lines");
                check(RouteTable::stepSection(lines, j, -step) == i, "a step cannot be undone");
            }
        }
        check(!RouteTable::stepSection(lines, i, 0) && !RouteTable::stepSection(lines, i, 2),
              "a step of other than one line moves");
    }
    return 0;
}
