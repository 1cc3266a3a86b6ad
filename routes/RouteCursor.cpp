#include "routes/RouteCursor.h"

#include "routes/RouteTable.h"

RouteCursor::RouteCursor(QStringList lines) : m_lines(std::move(lines)) {}

void RouteCursor::load(qsizetype index)
{
    m_current = index;
    const RouteTable::Fields f = RouteTable::split(RouteTable::entry(m_lines, index));
    if (f.hasRoute)
        m_route = f.route;
    if (f.hasDest) {
        m_dest = f.dest;
        m_fare = f.fare;
        m_fareLine = index;
    }
}

std::optional<qsizetype> RouteCursor::find(const QString& route) const
{
    return RouteTable::findRoute(m_lines, route);
}

std::optional<qsizetype> RouteCursor::otherDirection() const
{
    return RouteTable::findOtherDirection(m_lines, m_route, m_dest);
}

std::optional<qsizetype> RouteCursor::neighbour(int step) const
{
    if (!m_current)
        return std::nullopt;
    return RouteTable::stepSection(m_lines, *m_current, step);
}
