#include "routes/RouteCursor.h"

#include "routes/RouteTable.h"

RouteCursor::RouteCursor(RouteLines lines, QString file) : m_lines(std::move(lines))
{
    m_line.file = std::move(file);
}

void RouteCursor::load(qsizetype index)
{
    m_current = index;
    const RouteTable::Fields f = RouteTable::split(RouteTable::entry(m_lines, index));
    if (f.hasRoute)
        m_line.route = f.route;
    if (f.hasDest) {
        m_line.destination = f.dest;
        m_line.fareText = f.fare;
        m_line.fare = Money::parse(f.fare);
        m_line.number = index + 1;
    }
}

std::optional<qsizetype> RouteCursor::find(const QString& route) const
{
    return RouteTable::findRoute(m_lines, route);
}

std::optional<qsizetype> RouteCursor::otherDirection() const
{
    return RouteTable::findOtherDirection(m_lines, m_line.route, m_line.destination);
}

std::optional<qsizetype> RouteCursor::neighbour(int step) const
{
    if (!m_current)
        return std::nullopt;
    return RouteTable::stepSection(m_lines, *m_current, step);
}

int RouteCursor::section() const
{
    if (!m_current)
        return 0;
    const RouteTable::Fields f = RouteTable::split(RouteTable::entry(m_lines, *m_current));
    if (!f.hasRoute || !f.hasDest)
        return 0;
    int section = 1;
    for (auto i = RouteTable::stepSection(m_lines, *m_current, -1); i;
         i = RouteTable::stepSection(m_lines, *i, -1))
        ++section;
    return section;
}
