#pragma once

#include "dialogs/ChartPicture.h"
#include "dialogs/ReportBars.h"
#include "dialogs/ReportSource.h"
#include "journal/TripReport.h"

#include <QDate>
#include <QDialog>
#include <QString>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class ReportTable;

// 行程報告: the trips of a period with their passengers, takings and reads not charged, the
// totals of each day and of the period, and a chart of the takings. Not modal: the
// equipment goes on working beside it, and 查詢 reads the figures again.
class frmReport : public QDialog {
    Q_OBJECT
public:
    explicit frmReport(ReportSource source, QWidget* parent = nullptr);

    // The one open over `parent`, brought to the front and read again, or a new one.
    static frmReport* showOver(QWidget* parent, ReportSource source);

    // The period shown; the figures are read again.
    void setPeriod(QDate from, QDate to);
    void refresh();

    // The table as CSV and the chart as PNG, written whole or not at all; false with the
    // reason in `error`. The buttons ask for the file and warn on failure.
    bool exportCsv(const QString& path, QString* error) const;
    bool exportPng(const QString& path, QString* error) const;

    const ReportTable& table() const { return *m_table; }
    const ReportBars& bars() const { return m_bars; }
    QString status() const;

    // Where the chart's library is; by default beside the program.
    static void setChartLibrary(const QString& path);

protected:
    void changeEvent(QEvent* e) override;

private:
    void dateEdited();
    void chooseFile(bool picture); // and exports to it

    ReportSource m_source;
    ReportTable* m_table = nullptr;
    QTableView* m_view = nullptr;
    ReportBars m_bars;
    QWidget* m_chart = nullptr; // the chart, or what says why there is none
    ChartDraw m_draw = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_csv = nullptr;
    QPushButton* m_png = nullptr;
    QDate m_shownFrom;
    QDate m_shownTo;
    bool m_replaced = false;
};
