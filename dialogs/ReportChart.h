#pragma once

#include "common/Money.h"
#include "journal/TripReport.h"

#include <QChartView>
#include <QString>

#include <array>
#include <vector>

// The takings of a period as bars stacked by card type: one bar per trip, or per day or
// month when the trips are too many to tell apart (the title says which). Pointing at a
// part of a bar shows what it stands for and its amount.
class ReportChart : public QChartView {
    Q_OBJECT
public:
    enum class Grouping { Trip, Day, Month };
    // More bars than this are too narrow to point at: the next larger grouping is used.
    static constexpr int MaxBars = 200;

    explicit ReportChart(QWidget* parent = nullptr);

    void setReport(const journal::Report& report);
    Grouping grouping() const { return m_grouping; }
    int barCount() const { return int(m_bars.size()); }
    // The tip for the part of bar `bar` that card type `type` paid.
    QString tip(int bar, int type) const;

private:
    struct Bar {
        QString label; // under the bar
        QString name;  // in its tip
        std::array<Money, journal::CardTypeCount> takings{};
    };
    void groupBy(const journal::Report& report);
    void draw();

    Grouping m_grouping = Grouping::Trip;
    std::vector<Bar> m_bars;
    int m_trips = 0;
};
