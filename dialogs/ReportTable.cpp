#include "dialogs/ReportTable.h"

#include <QFont>
#include <QPalette>

namespace {

// The one form a date and a time take in the exported file, which any program reads.
const QString WholeDate = QStringLiteral("yyyy-MM-dd");
const QString WholeTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString ClockTime = QStringLiteral("HH:mm:ss");

bool isCount(int column)
{
    return column >= ReportTable::FirstPassengers;
}

// Short headers in the table; the whole name in their tips and in the exported file.
QString shortHeader(int column)
{
    switch (column) {
    case ReportTable::Date:
        return ReportTable::tr("日期");
    case ReportTable::Route:
        return ReportTable::tr("路線");
    case ReportTable::Destination:
        return ReportTable::tr("方向");
    case ReportTable::Start:
        return ReportTable::tr("開始");
    case ReportTable::End:
        return ReportTable::tr("結束");
    case ReportTable::Takings:
        return ReportTable::tr("收款");
    }
    if (column >= ReportTable::FirstRefusals)
        return ReportTable::refusalName(column - ReportTable::FirstRefusals);
    return ReportTable::cardTypeName(column - ReportTable::FirstPassengers);
}

QString longHeader(int column)
{
    if (column == ReportTable::Takings)
        return ReportTable::tr("收款（元）");
    if (column >= ReportTable::FirstRefusals)
        return ReportTable::tr("未收費（%1）").arg(shortHeader(column));
    if (column >= ReportTable::FirstPassengers)
        return ReportTable::tr("乘客（%1）").arg(shortHeader(column));
    return shortHeader(column);
}

// RFC 4180: a field with a comma, a quotation mark or a line break goes in quotation
// marks, its own marks doubled.
QByteArray csvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') ||
        bytes.contains('\n')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

// A text from the route table that begins like a formula is taken for one by spreadsheet
// programs, which would run it on opening the file: it is kept as text.
QString asText(const QString& text)
{
    static const QString formula = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formula.contains(text.front()))
        return u'\'' + text;
    return text;
}

} // namespace

ReportTable::ReportTable(QObject* parent) : QAbstractTableModel(parent) {}

QString ReportTable::cardTypeName(int type)
{
    switch (CardType(type)) {
    case CardType::Adult:
        return tr("成人");
    case CardType::Child:
        return tr("小童");
    case CardType::Student:
        return tr("學童");
    case CardType::Elderly:
        return tr("長者");
    case CardType::Startup:
        return tr("開機卡");
    }
    return QString();
}

QString ReportTable::refusalName(int reason)
{
    switch (journal::Refusal(reason)) {
    case journal::Refusal::AlreadyPaid:
        return tr("已付款");
    case journal::Refusal::NotEnoughValue:
        return tr("餘額不足");
    case journal::Refusal::Misread:
        return tr("讀卡錯誤");
    case journal::Refusal::RefusedCard:
        return tr("拒絕");
    case journal::Refusal::Overheated:
        return tr("過熱");
    }
    return QString();
}

void ReportTable::setReport(journal::Report report)
{
    beginResetModel();
    m_report = std::move(report);
    m_rows.clear();
    m_rows.reserve(m_report.trips.size() + m_report.days.size() + 1);
    // Trips and days both come in time order: each day's row follows the last trip that
    // started on it. A day the trips do not name still gets its row, in its place.
    qsizetype day = 0;
    const qsizetype days = m_report.days.size();
    for (qsizetype t = 0; t < m_report.trips.size(); ++t) {
        const QDate date = m_report.trips[t].start.date();
        while (day < days && m_report.days[day].day < date)
            m_rows.push_back({RowKind::Day, day++});
        m_rows.push_back({RowKind::Trip, t});
    }
    while (day < days)
        m_rows.push_back({RowKind::Day, day++});
    if (!m_rows.empty())
        m_rows.push_back({RowKind::Total, 0});
    endResetModel();
}

ReportTable::RowKind ReportTable::rowKind(int row) const
{
    return m_rows[size_t(row)].kind;
}

const journal::Tally& ReportTable::tally(const Row& row) const
{
    switch (row.kind) {
    case RowKind::Trip:
        return m_report.trips[row.at].tally;
    case RowKind::Day:
        return m_report.days[row.at].tally;
    case RowKind::Total:
        break;
    }
    return m_report.total;
}

QString ReportTable::text(const Row& row, int column, bool whole) const
{
    if (isCount(column)) {
        const journal::Tally& t = tally(row);
        if (column == Takings)
            return t.total().text();
        if (column >= FirstRefusals)
            return QString::number(t.refusals[size_t(column - FirstRefusals)]);
        return QString::number(t.passengers[size_t(column - FirstPassengers)]);
    }
    if (row.kind == RowKind::Total)
        return column == Route ? tr("總計") : QString();
    if (row.kind == RowKind::Day) {
        if (column == Date)
            return m_report.days[row.at].day.toString(WholeDate);
        return column == Route ? tr("全日合計") : QString();
    }
    const journal::TripRow& trip = m_report.trips[row.at];
    switch (column) {
    case Date:
        return trip.start.date().toString(WholeDate);
    case Route:
        return whole ? asText(trip.route) : trip.route;
    case Destination:
        return whole ? asText(trip.destination) : trip.destination;
    case Start:
        return trip.start.toString(whole ? WholeTime : ClockTime);
    case End:
        // A trip past midnight says on which day it ended.
        if (!trip.end.isValid())
            return QString();
        return trip.end.toString(whole || trip.end.date() != trip.start.date() ? WholeTime
                                                                               : ClockTime);
    }
    return QString();
}

QByteArray ReportTable::csv() const
{
    QByteArray out;
    for (int c = 0; c < ColumnCount; ++c)
        out += (c ? "," : "") + csvField(longHeader(c));
    out += "\r\n";
    for (const Row& row : m_rows) {
        for (int c = 0; c < ColumnCount; ++c)
            out += (c ? "," : "") + csvField(text(row, c, true));
        out += "\r\n";
    }
    return out;
}

int ReportTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return QVariant();
    const Row& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return text(row, index.column(), false);
    case ExportRole:
        return text(row, index.column(), true);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(isCount(index.column()) ? Qt::AlignRight | Qt::AlignVCenter
                                                           : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (row.kind != RowKind::Trip) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        break;
    case Qt::BackgroundRole:
        // The totals stand apart from the trips around them.
        if (row.kind != RowKind::Trip)
            return QPalette().brush(QPalette::AlternateBase);
        break;
    }
    return QVariant();
}

QVariant ReportTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return shortHeader(section);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
    case ExportRole:
        return longHeader(section);
    }
    return QVariant();
}
