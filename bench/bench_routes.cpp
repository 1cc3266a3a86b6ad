// Times reading routes.dat and finding the route on its last line, for a table at the
// console's old limit of 32,767 lines and for one of a million lines.

#include "routes/RouteTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int kRuns = 5;

// Routes of two directions with three sections each, as in a real table.
QByteArray makeTable(int lineCount)
{
    static const char16_t* const kDests[] = {u"北門", u"南碼頭"};
    static const char* const kFares[] = {"5.40", "4.20", "2.80"};
    QString text;
    text.reserve(qsizetype(lineCount) * 20);
    for (int i = 0; i < lineCount; ++i) {
        text += QString::number(i / 6);
        text += u'#';
        text += QStringView(kDests[(i / 3) % 2]);
        text += u'#';
        text += QLatin1StringView(kFares[i % 3]);
        text += u"\r\n";
    }
    return text.toUtf8();
}

template <typename F> double bestMs(F&& work)
{
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary directory: %s\n", qPrintable(dir.errorString()));
        return 1;
    }

    std::printf("%10s %10s %12s %16s\n", "lines", "MB", "load ms", "findRoute ms");
    for (const int lineCount : {32767, 1000000}) {
        const QByteArray bytes = makeTable(lineCount);
        const QString path = dir.filePath(QStringLiteral("routes-%1.dat").arg(lineCount));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.close();

        RouteTable::LoadResult table;
        const double loadMs = bestMs([&] { table = RouteTable::load(path); });
        if (!table.ok || table.lines.size() != lineCount) {
            std::fprintf(stderr, "%s read wrongly\n", qPrintable(path));
            return 1;
        }

        // The last route's first line stands six lines from the end: the search crosses
        // almost the whole table.
        const QString lastRoute = RouteTable::split(table.lines.at(table.lines.size() - 1)).route;
        std::optional<qsizetype> found;
        const double findMs =
            bestMs([&] { found = RouteTable::findRoute(table.lines, lastRoute); });
        if (!found) {
            std::fprintf(stderr, "route %s not found\n", qPrintable(lastRoute));
            return 1;
        }
        std::printf("%10d %10.1f %12.2f %16.2f\n", lineCount, double(bytes.size()) / 1e6, loadMs,
                    findMs);
    }
    return 0;
}
