#pragma once

#include "journal/TripReport.h"

#include <QDate>
#include <QString>

#include <functional>

// Where the trip report's figures come from. The window never reads the journal itself.
struct ReportSource {
    // The trips that started between two days, both included; empty when there is no
    // journal to ask.
    std::function<journal::Report(QDate from, QDate to)> query;
    QDate first; // the journal's first and last days with trips; invalid when it has none
    QDate last;
    QString whyNone; // why there is no journal, when there is none
};
