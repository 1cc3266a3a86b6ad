#include "common/Yield.h"

#include <QCoreApplication>

void yieldEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
