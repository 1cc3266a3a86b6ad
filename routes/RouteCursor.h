#pragma once

#include "routes/RouteLine.h"
#include "routes/RouteLines.h"

#include <QString>

#include <optional>

// The route table as the console walks it: which line is current, and the route, the
// destination and the fare that the loaded lines have given. The three values start empty
// and a line without a field keeps the earlier value of that field.
class RouteCursor {
public:
    // `file` is where the lines were read, for a message about one of them.
    explicit RouteCursor(RouteLines lines = {}, QString file = {});

    const RouteLines& lines() const { return m_lines; }

    // Makes line `index` the current line (an index outside the table counts as a line
    // without fields).
    void load(qsizetype index);

    // The current line; nothing until the first load.
    std::optional<qsizetype> current() const { return m_current; }
    // The three values, the fare read as a number, and the line that gave the fare.
    const RouteLine& routeLine() const { return m_line; }
    const QString& route() const { return m_line.route; }
    const QString& destination() const { return m_line.destination; }
    // Whether a loaded line has given the fare its value yet, and which line that was.
    bool hasFare() const { return m_line.number > 0; }
    std::optional<qsizetype> fareLine() const
    {
        return hasFare() ? std::optional(m_line.number - 1) : std::nullopt;
    }

    // Where the current line stands in its direction: 1 for its first section, and 0
    // before the first load or on a line that belongs to no direction.
    int section() const;

    // Route entry: the first line of `route` with a destination.
    std::optional<qsizetype> find(const QString& route) const;
    // The terminus turn: the first line of the current route going elsewhere.
    std::optional<qsizetype> otherDirection() const;
    // The next (+1) or previous (-1) section of the current direction; nothing before the
    // first load and at either end.
    std::optional<qsizetype> neighbour(int step) const;

private:
    RouteLines m_lines;
    std::optional<qsizetype> m_current;
    RouteLine m_line;
};
