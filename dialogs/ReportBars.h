#pragma once

#include "common/Money.h"
#include "dialogs/ChartPicture.h"
#include "journal/TripReport.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <vector>

// The takings of a period as bars stacked by card type: one bar per trip, or per day or
// month when the trips are too many to tell apart (the title says which).
class ReportBars {
    Q_DECLARE_TR_FUNCTIONS(ReportBars)
public:
    enum class Grouping { Trip, Day, Month };
    // More bars than this are too narrow to point at: the next larger grouping is used.
    static constexpr int MaxBars = 200;

    explicit ReportBars(const journal::Report& report = journal::Report());

    Grouping grouping() const { return m_grouping; }
    int barCount() const { return int(m_bars.size()); }
    // The tip for the part of bar `bar` that card type `type` paid.
    QString tip(int bar, int type) const;
    ChartPicture picture() const;

private:
    struct Bar {
        QString label; // under the bar
        QString name;  // in its tip
        std::array<Money, journal::CardTypeCount> takings{};
    };

    Grouping m_grouping = Grouping::Trip;
    std::vector<Bar> m_bars;
    int m_trips = 0;
};
