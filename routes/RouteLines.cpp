#include "routes/RouteLines.h"

RouteLines::RouteLines(const QStringList& lines)
{
    qsizetype characters = 0;
    for (const QString& l : lines)
        characters += l.size();
    reserve(lines.size(), characters);
    for (const QString& l : lines)
        append(l);
}

RouteLines::RouteLines(QString text, QList<qsizetype> ends)
    : m_text(std::move(text)), m_ends(std::move(ends))
{
    Q_ASSERT(m_ends.isEmpty() || m_ends.last() == m_text.size());
}

QString RouteLines::value(qsizetype i) const
{
    return i >= 0 && i < size() ? at(i).toString() : QString();
}

QStringList RouteLines::toList() const
{
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list.append(at(i).toString());
    return list;
}

void RouteLines::reserve(qsizetype lines, qsizetype characters)
{
    m_ends.reserve(lines);
    m_text.reserve(characters);
}

void RouteLines::append(QStringView line)
{
    m_text.append(line);
    m_ends.append(m_text.size());
}

void RouteLines::clear()
{
    m_text.clear();
    m_ends.clear();
}
