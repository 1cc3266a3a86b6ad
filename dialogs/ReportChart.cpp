#include "dialogs/ReportChart.h"

#include "dialogs/ReportTable.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QSet>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

namespace {

// Beyond this many bars their labels would overlap; the axis title says what they are.
constexpr int MaxLabels = 31;

} // namespace

ReportChart::ReportChart(QWidget* parent) : QChartView(parent)
{
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(tr("收款圖表"));
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::StrongFocus);
    chart()->setAnimationOptions(QChart::NoAnimation);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    draw();
}

void ReportChart::setReport(const journal::Report& report)
{
    m_trips = int(report.trips.size());
    groupBy(report);
    draw();
}

void ReportChart::groupBy(const journal::Report& report)
{
    m_bars.clear();
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

QString ReportChart::tip(int bar, int type) const
{
    if (bar < 0 || bar >= barCount() || type < 0 || type >= journal::CardTypeCount)
        return QString();
    const Bar& b = m_bars[size_t(bar)];
    return tr("%1\n%2：%3")
        .arg(b.name, ReportTable::cardTypeName(type), b.takings[size_t(type)].text());
}

void ReportChart::draw()
{
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis); // the chart lets go of it without deleting it
        delete axis;
    }
    switch (m_grouping) {
    case Grouping::Trip:
        c->setTitle(tr("每個行程的收款"));
        break;
    case Grouping::Day:
        c->setTitle(tr("每日收款（%1 個行程，按日顯示）").arg(m_trips));
        break;
    case Grouping::Month:
        c->setTitle(tr("每月收款（%1 個行程，按月顯示）").arg(m_trips));
        break;
    }
    if (m_bars.empty())
        c->setTitle(tr("所選日期內沒有收款"));
    setAccessibleDescription(c->title());

    auto* series = new QStackedBarSeries;
    QStringList labels;
    labels.reserve(qsizetype(m_bars.size()));
    double highest = 0;
    for (const Bar& b : m_bars) {
        labels << b.label;
        Money sum;
        for (Money m : b.takings)
            sum = sum + m;
        highest = std::max(highest, double(sum.inCents()) / 100);
    }
    for (int t = 0; t < journal::CardTypeCount; ++t) {
        auto* set = new QBarSet(ReportTable::cardTypeName(t));
        QList<qreal> values;
        values.reserve(qsizetype(m_bars.size()));
        for (const Bar& b : m_bars)
            values << double(b.takings[size_t(t)].inCents()) / 100;
        set->append(values);
        connect(set, &QBarSet::hovered, this, [this, t](bool on, int index) {
            if (on)
                QToolTip::showText(QCursor::pos(), tip(index, t), this);
            else
                QToolTip::hideText();
        });
        series->append(set);
    }
    c->addSeries(series);

    QAbstractAxis* x = nullptr;
    if (labels.size() <= MaxLabels) {
        auto* all = new QBarCategoryAxis;
        all->append(labels);
        x = all;
    } else {
        // Every bar's label would overlap the next: one label in `step`, under its bar.
        auto* some = new QCategoryAxis;
        some->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        some->setRange(-0.5, labels.size() - 0.5);
        some->setStartValue(-0.5);
        const qsizetype step = (labels.size() + MaxLabels / 2 - 1) / (MaxLabels / 2);
        for (qsizetype i = 0; i < labels.size(); i += step)
            some->append(labels[i], double(i));
        some->setGridLineVisible(false);
        x = some;
    }
    x->setTitleText(m_grouping == Grouping::Trip  ? tr("行程（路線及開始時間）")
                    : m_grouping == Grouping::Day ? tr("日期")
                                                  : tr("月份"));
    c->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.2f"));
    y->setTitleText(tr("收款（元）"));
    y->setRange(0, highest > 0 ? highest : 1);
    y->applyNiceNumbers();
    c->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}
