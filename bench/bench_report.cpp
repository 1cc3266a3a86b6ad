// The trip report window over a made-up period as large as a journal of a million reads
// gives (20,000 trips over 100 days): the time from asking for the window until it has
// been drawn, and the median of several openings. With --shot FILE and a smaller period
// (--trips N --days D), the window is drawn into FILE instead, for the README's picture.
#include "dialogs/frmReport.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

const QStringList Routes{QStringLiteral("12"), QStringLiteral("2X"), QStringLiteral("71K"),
                         QStringLiteral("118")};
const QStringList Destinations{QStringLiteral("北門"), QStringLiteral("南碼頭"),
                               QStringLiteral("東公園"), QStringLiteral("大埔墟站")};
// Fares in cents by route, and the share of each card type among the passengers.
const int Fares[] = {540, 910, 470, 1230};
const double Shares[journal::CardTypeCount] = {0.62, 0.12, 0.14, 0.11, 0.01};

void add(journal::Tally& sum, const journal::Tally& t)
{
    for (int i = 0; i < journal::CardTypeCount; ++i) {
        sum.passengers[size_t(i)] += t.passengers[size_t(i)];
        sum.takings[size_t(i)] = sum.takings[size_t(i)] + t.takings[size_t(i)];
    }
    for (int i = 0; i < journal::RefusalCount; ++i)
        sum.refusals[size_t(i)] += t.refusals[size_t(i)];
}

journal::Report madeUp(int trips, int days)
{
    std::mt19937 random(24);
    std::discrete_distribution<int> type(std::begin(Shares), std::end(Shares));
    std::uniform_int_distribution<int> riders(10, 70);
    std::uniform_int_distribution<int> refused(0, 2);
    journal::Report r;
    const int perDay = std::max(1, (trips + days - 1) / days);
    const QDateTime first(QDate(2026, 12, 1), QTime(6, 0));
    for (int i = 0; i < trips; ++i) {
        journal::TripRow t;
        t.trip = i + 1;
        const int route = i % Routes.size();
        t.route = Routes[route];
        t.destination = Destinations[(i / 2) % Destinations.size()];
        t.start = first.addDays(i / perDay).addSecs(qint64(i % perDay) * 16 * 60 / perDay * 60);
        t.end = t.start.addSecs(40 * 60);
        for (int n = riders(random); n > 0; --n) {
            const int k = type(random);
            const int fare = k == 0 ? Fares[route] : k == 4 ? 0 : Fares[route] / 2;
            t.tally.passengers[size_t(k)]++;
            t.tally.takings[size_t(k)] = t.tally.takings[size_t(k)] + Money::cents(fare);
        }
        for (int& n : t.tally.refusals)
            n = refused(random);
        r.trips << t;
        if (r.days.isEmpty() || r.days.last().day != t.start.date())
            r.days << journal::DayRow{t.start.date(), {}};
        add(r.days.last().tally, t.tally);
        add(r.total, t.tally);
    }
    return r;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    frmReport::setChartLibrary(QStringLiteral(PELUMO_CHART_LIBRARY));
    const QStringList args = app.arguments();
    auto option = [&](const QString& name, int fallback) {
        const qsizetype at = args.indexOf(name);
        return at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
    };
    const qsizetype shotAt = args.indexOf(QStringLiteral("--shot"));
    const journal::Report report =
        madeUp(option(QStringLiteral("--trips"), 20'000), option(QStringLiteral("--days"), 100));
    const ReportSource source{[&](QDate, QDate) { return report; },
                              report.days.isEmpty() ? QDate() : report.days.first().day,
                              report.days.isEmpty() ? QDate() : report.days.last().day,
                              {}};

    if (shotAt > 0 && shotAt + 1 < args.size()) {
        frmReport w(source);
        w.setPeriod(source.first, source.last);
        w.show();
        app.processEvents();
        return w.grab().save(args[shotAt + 1]) ? 0 : 1;
    }

    constexpr int Runs = 7;
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer t;
        t.start();
        auto* w = new frmReport(source);
        w->setPeriod(source.first, source.last);
        w->show();
        w->grab(); // drawn whole, table and chart
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        delete w;
        app.processEvents();
    }
    std::sort(times.begin(), times.end());
    std::printf("%8s %8s %14s\n", "trips", "days", "open+draw ms");
    std::printf("%8lld %8lld %14.1f\n", qlonglong(report.trips.size()),
                qlonglong(report.days.size()), times[Runs / 2]);
    return 0;
}
