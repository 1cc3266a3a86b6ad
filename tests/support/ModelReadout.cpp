// The readouts of the console's state, which need no window.
#include "support/Readout.h"

#include "ddu/Console.h"

namespace Readout {

QStringList storedLines(const Console* c)
{
    return {c->storedLine(0), c->storedLine(1), c->storedLine(2)};
}

QString currentLine(const Console* c)
{
    const auto i = c->routes().current();
    return i ? QString::number(*i) : QString();
}

QStringList events(const Console* c)
{
    QStringList out;
    for (const QString& line :
         c->tripLog().text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (line.size() > 8 && line.at(2) == u':' && line.at(5) == u':')
            out << line.mid(8);
    return out;
}

QString lastEvent(const Console* c)
{
    const QStringList e = events(c);
    return e.isEmpty() ? QString() : e.last();
}

} // namespace Readout
