// The takings chart drawn with Qt Charts: built as the library pelumo_charts, which the
// report loads when it first opens (see ChartPicture.h).
#include "dialogs/ChartPicture.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QStackedBarSeries>
#include <QTextDocument>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>

namespace {

// Beyond this many bars their labels would overlap: only some are written.
constexpr int MaxLabels = 31;

QAbstractAxis* barAxis(const QStringList& labels)
{
    if (labels.size() <= MaxLabels) {
        auto* all = new QBarCategoryAxis;
        all->append(labels);
        return all;
    }
    // One label in `step`, under its bar.
    auto* some = new QCategoryAxis;
    some->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    some->setRange(-0.5, labels.size() - 0.5);
    some->setStartValue(-0.5);
    const qsizetype step = (labels.size() + MaxLabels / 2 - 1) / (MaxLabels / 2);
    for (qsizetype i = 0; i < labels.size(); i += step)
        some->append(labels[i], double(i));
    some->setGridLineVisible(false);
    return some;
}

} // namespace

extern "C" Q_DECL_EXPORT QWidget* pelumo_chart_create(QWidget* parent)
{
    auto* view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::StrongFocus);
    view->chart()->setAnimationOptions(QChart::NoAnimation);
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    return view;
}

extern "C" Q_DECL_EXPORT void pelumo_chart_draw(QWidget* widget, const ChartPicture& picture)
{
    auto* view = static_cast<QChartView*>(widget);
    QChart* c = view->chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis); // the chart lets go of it without deleting it
        delete axis;
    }
    c->setTitle(picture.title);
    if (picture.labels.isEmpty())
        return; // axes without bars draw their titles astray

    auto* series = new QStackedBarSeries;
    double highest = 0;
    QList<qreal> heights(picture.labels.size());
    for (qsizetype s = 0; s < picture.series.size(); ++s) {
        auto* set = new QBarSet(picture.series[s]);
        set->append(picture.values[s]);
        for (qsizetype b = 0; b < heights.size(); ++b)
            highest = std::max(highest, heights[b] += picture.values[s][b]);
        const QStringList tips = picture.tips[s];
        QObject::connect(set, &QBarSet::hovered, view, [view, tips](bool on, int index) {
            if (on && index >= 0 && index < tips.size())
                QToolTip::showText(QCursor::pos(),
                                   Qt::convertFromPlainText(tips[index], Qt::WhiteSpaceNormal),
                                   view);
            else
                QToolTip::hideText();
        });
        series->append(set);
    }
    c->addSeries(series);

    QAbstractAxis* x = barAxis(picture.labels);
    x->setTitleText(picture.axisTitle);
    c->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.2f"));
    y->setTitleText(picture.valueTitle);
    y->setRange(0, highest > 0 ? highest : 1);
    y->applyNiceNumbers();
    c->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}
