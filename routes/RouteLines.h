#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The lines of the route table kept in one text with the end of each line beside it. A
// table of a few million short lines held as separate strings costs some 70 bytes a line
// in string headers and allocations, many times the file; here a line costs the offset.
class RouteLines {
public:
    RouteLines() = default;
    // A table written out line by line, as tests and small callers have it.
    explicit RouteLines(const QStringList& lines);
    // Takes over `text`, which holds the lines one after the other, and where each ends.
    RouteLines(QString text, QList<qsizetype> ends);

    qsizetype size() const { return m_ends.size(); }
    bool isEmpty() const { return m_ends.isEmpty(); }
    // The line at `i`, which must be in the table. Valid as long as the table is unchanged.
    QStringView at(qsizetype i) const
    {
        Q_ASSERT(i >= 0 && i < size());
        const qsizetype start = i == 0 ? 0 : m_ends.at(i - 1);
        return QStringView(m_text).sliced(start, m_ends.at(i) - start);
    }
    // A copy of the line at `i`, or an empty text outside the table.
    QString value(qsizetype i) const;
    QStringList toList() const;

    void reserve(qsizetype lines, qsizetype characters);
    void append(QStringView line);
    void clear();

    friend bool operator==(const RouteLines& a, const RouteLines& b)
    {
        return a.m_ends == b.m_ends && a.m_text == b.m_text;
    }

private:
    QString m_text;
    QList<qsizetype> m_ends; // where each line ends in m_text
};
