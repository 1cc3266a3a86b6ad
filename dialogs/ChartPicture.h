#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// What the takings chart draws, worked out beforehand: the chart itself lives in a library
// of its own (pelumo_charts), loaded when a report first opens, so that Qt Charts and the
// OpenGL libraries it pulls in cost the program's start-up nothing.
struct ChartPicture {
    QString title;
    QString axisTitle;          // under the bars
    QString valueTitle;         // beside the amounts
    QStringList series;         // one stack part per entry, bottom up
    QStringList labels;         // one per bar, rich text; unique
    QList<QList<qreal>> values; // per series, per bar
    QList<QStringList> tips;    // per series, per bar: shown while the pointer is on that part
};

// The library's two entry points, by these names.
using ChartCreate = QWidget* (*)(QWidget* parent);
using ChartDraw = void (*)(QWidget* chart, const ChartPicture& picture);
inline constexpr char ChartCreateName[] = "pelumo_chart_create";
inline constexpr char ChartDrawName[] = "pelumo_chart_draw";
