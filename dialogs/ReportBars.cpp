#include "dialogs/ReportBars.h"

#include "dialogs/ReportTable.h"

#include <QSet>

ReportBars::ReportBars(const journal::Report& report) : m_trips(int(report.trips.size()))
{
    if (report.trips.size() <= MaxBars) {
        m_grouping = Grouping::Trip;
        // The axis takes two equal labels for one bar: each label is made unique. Labels are
        // drawn as rich text, a line each.
        const bool oneDay = report.days.size() <= 1;
        QSet<QString> taken;
        for (const journal::TripRow& trip : report.trips) {
            Bar bar;
            const QString base = trip.route.toHtmlEscaped() + QStringLiteral("<br>") +
                                 trip.start.toString(oneDay ? QStringLiteral("HH:mm")
                                                            : QStringLiteral("MM-dd<br>HH:mm"));
            bar.label = base;
            for (int n = 2; taken.contains(bar.label); ++n)
                bar.label = QStringLiteral("%1 (%2)").arg(base).arg(n);
            taken.insert(bar.label);
            bar.name = tr("%1 路線 %2 往%3")
                           .arg(trip.start.toString(QStringLiteral("yyyy-MM-dd HH:mm")), trip.route,
                                trip.destination);
            bar.takings = trip.tally.takings;
            m_bars.push_back(bar);
        }
        return;
    }
    m_grouping = report.days.size() <= MaxBars ? Grouping::Day : Grouping::Month;
    const QString format =
        m_grouping == Grouping::Day ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("yyyy-MM");
    for (const journal::DayRow& day : report.days) {
        const QString name = day.day.toString(format);
        if (m_bars.empty() || m_bars.back().name != name) {
            Bar bar;
            bar.name = name;
            bar.label =
                m_grouping == Grouping::Day ? day.day.toString(QStringLiteral("MM-dd")) : name;
            m_bars.push_back(bar);
        }
        for (int t = 0; t < journal::CardTypeCount; ++t)
            m_bars.back().takings[size_t(t)] =
                m_bars.back().takings[size_t(t)] + day.tally.takings[size_t(t)];
    }
}

QString ReportBars::tip(int bar, int type) const
{
    if (bar < 0 || bar >= barCount() || type < 0 || type >= journal::CardTypeCount)
        return QString();
    const Bar& b = m_bars[size_t(bar)];
    return tr("%1\n%2：%3")
        .arg(b.name, ReportTable::cardTypeName(type), b.takings[size_t(type)].text());
}

ChartPicture ReportBars::picture() const
{
    ChartPicture p;
    switch (m_grouping) {
    case Grouping::Trip:
        p.title = tr("每個行程的收款");
        p.axisTitle = tr("行程（路線及開始時間）");
        break;
    case Grouping::Day:
        p.title = tr("每日收款（%1 個行程，按日顯示）").arg(m_trips);
        p.axisTitle = tr("日期");
        break;
    case Grouping::Month:
        p.title = tr("每月收款（%1 個行程，按月顯示）").arg(m_trips);
        p.axisTitle = tr("月份");
        break;
    }
    if (m_bars.empty())
        p.title = tr("所選日期內沒有收款");
    p.valueTitle = tr("收款（元）");
    for (const Bar& b : m_bars)
        p.labels << b.label;
    for (int t = 0; t < journal::CardTypeCount; ++t) {
        p.series << ReportTable::cardTypeName(t);
        QList<qreal> values;
        QStringList tips;
        values.reserve(qsizetype(m_bars.size()));
        tips.reserve(qsizetype(m_bars.size()));
        for (int b = 0; b < barCount(); ++b) {
            values << double(m_bars[size_t(b)].takings[size_t(t)].inCents()) / 100;
            tips << tip(b, t);
        }
        p.values << values;
        p.tips << tips;
    }
    return p;
}
