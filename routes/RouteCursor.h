#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The route table as the console walks it: which line is current, and the route, the
// destination and the fare that the loaded lines have given. The three values start empty
// and a line without a field keeps the earlier value of that field.
class RouteCursor {
public:
    explicit RouteCursor(QStringList lines = {});

    const QStringList& lines() const { return m_lines; }

    // Makes line `index` the current line (an index outside the table counts as a line
    // without fields).
    void load(qsizetype index);

    // The current line; nothing until the first load.
    std::optional<qsizetype> current() const { return m_current; }
    const QString& route() const { return m_route; }
    const QString& destination() const { return m_dest; }
    const QString& fare() const { return m_fare; }
    // Whether a loaded line has given the fare its value yet, and which line that was.
    bool hasFare() const { return m_fareLine.has_value(); }
    std::optional<qsizetype> fareLine() const { return m_fareLine; }

    // Route entry: the first line of `route` with a destination.
    std::optional<qsizetype> find(const QString& route) const;
    // The terminus turn: the first line of the current route going elsewhere.
    std::optional<qsizetype> otherDirection() const;
    // The next (+1) or previous (-1) section of the current direction; nothing before the
    // first load and at either end.
    std::optional<qsizetype> neighbour(int step) const;

private:
    QStringList m_lines;
    std::optional<qsizetype> m_current;
    QString m_route;
    QString m_dest;
    QString m_fare;
    std::optional<qsizetype> m_fareLine;
};
