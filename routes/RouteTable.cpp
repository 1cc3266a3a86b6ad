#include "routes/RouteTable.h"

#include <QFile>

namespace RouteTable {

Fields split(const QString& line)
{
    Fields f;
    const qsizetype a = line.indexOf(u'#');
    if (a < 0)
        return f;
    f.hasRoute = true;
    f.route = line.left(a);
    const QString rest = line.mid(a + 1);
    const qsizetype b = rest.indexOf(u'#');
    if (b < 0)
        return f;
    f.hasDest = true;
    f.dest = rest.left(b);
    f.fare = rest.mid(b + 1);
    return f;
}

QStringList decodeLines(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    QStringList out;
    QString cur;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            out << cur;
            cur.clear();
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            cur += text[i];
        }
    }
    if (!cur.isEmpty())
        out << cur;
    return out;
}

LoadResult load(const QString& path)
{
    LoadResult r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.ok = false;
        r.error = f.errorString();
        return r;
    }
    r.lines = decodeLines(f.readAll());
    return r;
}

QString entry(const QStringList& lines, qsizetype i)
{
    return (i >= 0 && i < lines.size()) ? lines.at(i) : QString();
}

std::optional<qsizetype> findRoute(const QStringList& lines, const QString& route)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Fields f = split(lines.at(i));
        if (f.hasRoute && f.route == route && f.hasDest && !f.dest.isEmpty())
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> findOtherDirection(const QStringList& lines, const QString& route,
                                            const QString& dest)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Fields f = split(lines.at(i));
        if (f.hasRoute && f.route == route && f.hasDest && f.dest != dest)
            return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> stepSection(const QStringList& lines, qsizetype current, int step)
{
    const Fields c = split(entry(lines, current));
    const Fields n = split(entry(lines, current + step));
    if (c.hasRoute && c.hasDest && n.hasRoute && n.hasDest && n.route == c.route && n.dest == c.dest)
        return current + step;
    return std::nullopt;
}

} // namespace RouteTable
