#pragma once

#include "journal/TripReport.h"

#include <QAbstractTableModel>
#include <QByteArray>

#include <vector>

// The trip report as a table: one row per trip, after each day's trips a row with the day's
// totals, and a last row with the period's. The rows are an index into the report, so a
// period of twenty thousand trips opens at once.
class ReportTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Date,
        Route,
        Destination,
        Start,
        End,
        FirstPassengers, // one column per card type, in CardType order
        Takings = FirstPassengers + journal::CardTypeCount,
        FirstRefusals, // one column per reason, in Refusal order
        ColumnCount = FirstRefusals + journal::RefusalCount
    };
    enum class RowKind { Trip, Day, Total };
    // The cell as the exported file writes it: dates and times whole, money as 0.00.
    static constexpr int ExportRole = Qt::UserRole + 1;

    explicit ReportTable(QObject* parent = nullptr);

    void setReport(journal::Report report);
    const journal::Report& report() const { return m_report; }

    RowKind rowKind(int row) const;

    // The names the table, the chart and the exported file give card types and reasons.
    static QString cardTypeName(int type);
    static QString refusalName(int reason);

    // The table as RFC 4180 text in UTF-8: a header line, then every row, each line ended
    // by CR LF.
    QByteArray csv() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        RowKind kind;
        qsizetype at; // into trips or days; unused for the total
    };
    QString text(const Row& row, int column, bool whole) const;
    const journal::Tally& tally(const Row& row) const;

    journal::Report m_report;
    std::vector<Row> m_rows;
};
