#include "dialogs/frmReport.h"

#include "common/Clock.h"
#include "dialogs/DialogStyle.h"
#include "dialogs/ReportTable.h"
#include "platform/Desktop.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QDateEdit* dateEdit(const QString& name, const QString& accessible, QWidget* parent)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessible);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    return edit;
}

QPushButton* button(const QString& text, const QString& name, const QString& accessible,
                    QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    b->setAutoDefault(false);
    return b;
}

// Written beside nothing and in one piece: a failed export leaves what was there before.
bool writeWhole(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && write(file) && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

QString chartLibraryPath;

struct ChartLibrary {
    ChartCreate create = nullptr;
    ChartDraw draw = nullptr;
    QString error;
};

// Loaded once and kept: the charts drawn with it live as long as their windows.
const ChartLibrary& chartLibrary()
{
    static const ChartLibrary loaded = [] {
        ChartLibrary lib;
        QLibrary file(chartLibraryPath.isEmpty() ? QCoreApplication::applicationDirPath() +
                                                       QStringLiteral("/pelumo_charts")
                                                 : chartLibraryPath);
        lib.create = reinterpret_cast<ChartCreate>(file.resolve(ChartCreateName));
        lib.draw = reinterpret_cast<ChartDraw>(file.resolve(ChartDrawName));
        if (!lib.create || !lib.draw) {
            lib.create = nullptr;
            lib.draw = nullptr;
            lib.error = file.errorString();
        }
        return lib;
    }();
    return loaded;
}

} // namespace

void frmReport::setChartLibrary(const QString& path)
{
    chartLibraryPath = path;
}

frmReport::frmReport(ReportSource source, QWidget* parent)
    : QDialog(parent), m_source(std::move(source))
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(tr("行程報告"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    setFont(DialogStyle::textFont());

    auto* filter = new QHBoxLayout;
    m_from = dateEdit(QStringLiteral("dtpFrom"), tr("開始日期"), this);
    m_to = dateEdit(QStringLiteral("dtpTo"), tr("結束日期"), this);
    auto* fromLabel = new QLabel(tr("由(&F)："), this);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(tr("至(&T)："), this);
    toLabel->setBuddy(m_to);
    auto* query = button(tr("查詢(&Q)"), QStringLiteral("cmdQuery"), tr("查詢"), this);
    filter->addWidget(fromLabel);
    filter->addWidget(m_from);
    filter->addWidget(toLabel);
    filter->addWidget(m_to);
    filter->addWidget(query);
    filter->addStretch();

    m_table = new ReportTable(this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("grdTrips"));
    m_view->setAccessibleName(tr("行程表"));
    m_view->setModel(m_table);
    m_view->setTabKeyNavigation(false); // Tab leaves the table; the arrows move in it
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // Widths from the font and not from the rows: measuring twenty thousand rows would
    // keep the window from opening.
    // Bold, as the totals' rows are.
    QFont bold = m_view->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    const int pad = fm.horizontalAdvance(QStringLiteral("M"));
    m_view->verticalHeader()->setDefaultSectionSize(fm.height() + 6);
    auto widthFor = [&](const QString& sample, int column) {
        const QString header = m_table->headerData(column, Qt::Horizontal).toString();
        return std::max(fm.horizontalAdvance(sample), fm.horizontalAdvance(header)) + pad;
    };
    m_view->horizontalHeader()->resizeSection(ReportTable::Date,
                                              widthFor(QStringLiteral("0000-00-00"), 0));
    m_view->horizontalHeader()->resizeSection(ReportTable::Route, widthFor(tr("全日合計"), 1));
    m_view->horizontalHeader()->resizeSection(ReportTable::Destination,
                                              widthFor(QStringLiteral("尖沙咀碼頭"), 2));
    for (int c : {int(ReportTable::Start), int(ReportTable::End)})
        m_view->horizontalHeader()->resizeSection(c, widthFor(QStringLiteral("00:00:00"), c));
    for (int c = ReportTable::FirstPassengers; c < ReportTable::ColumnCount; ++c)
        m_view->horizontalHeader()->resizeSection(c, widthFor(c == ReportTable::Takings
                                                                  ? QStringLiteral("00000.00")
                                                                  : QStringLiteral("0000"),
                                                              c));

    const ChartLibrary& charts = chartLibrary();
    if (charts.create) {
        m_chart = charts.create(this);
        m_draw = charts.draw;
    } else {
        auto* none = new QLabel(tr("圖表無法顯示：%1").arg(charts.error), this);
        none->setWordWrap(true);
        none->setAlignment(Qt::AlignCenter);
        m_chart = none;
    }
    m_chart->setObjectName(QStringLiteral("chart"));
    m_chart->setAccessibleName(tr("收款圖表"));
    m_chart->setFocusPolicy(Qt::StrongFocus);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("split"));
    split->setChildrenCollapsible(false);
    split->addWidget(m_view);
    split->addWidget(m_chart);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    m_csv =
        button(tr("匯出表格(&E)..."), QStringLiteral("cmdExportCsv"), tr("匯出表格為 CSV"), this);
    m_png =
        button(tr("匯出圖表(&G)..."), QStringLiteral("cmdExportPng"), tr("匯出圖表為 PNG"), this);
    auto* close = button(tr("關閉(&C)"), QStringLiteral("cmdClose"), tr("關閉"), this);
    buttons->addWidget(m_csv);
    buttons->addWidget(m_png);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(split, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    const QList<QWidget*> order{m_from, m_to, query, m_view, m_chart, m_csv, m_png, close};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Wide enough for every column, in whichever language the headers are, as far as the
    // screen allows.
    int columns = 0;
    for (int c = 0; c < ReportTable::ColumnCount; ++c)
        columns += m_view->horizontalHeader()->sectionSize(c);
    const QMargins margins = layout->contentsMargins();
    int width =
        std::max(1000, columns + 2 * m_view->frameWidth() + margins.left() + margins.right() +
                           m_view->verticalScrollBar()->sizeHint().width());
    if (const QScreen* s = screen())
        width = std::min(width, s->availableGeometry().width());
    resize(width, 720);
    split->setSizes({400, 280});

    // A date typed or chosen from the calendar is shown as soon as it is complete; the
    // other end moves along rather than leave a period that ends before it begins.
    connect(m_from, &QDateEdit::dateChanged, this, [this](QDate d) {
        if (d > m_to->date())
            m_to->setDate(d);
    });
    connect(m_to, &QDateEdit::dateChanged, this, [this](QDate d) {
        if (d < m_from->date())
            m_from->setDate(d);
    });
    for (QDateEdit* edit : {m_from, m_to}) {
        connect(edit, &QDateEdit::editingFinished, this, &frmReport::dateEdited);
        connect(edit->calendarWidget(), &QCalendarWidget::clicked, this, &frmReport::dateEdited,
                Qt::QueuedConnection);
    }
    connect(query, &QPushButton::clicked, this, &frmReport::refresh);
    connect(m_csv, &QPushButton::clicked, this, [this] { chooseFile(false); });
    connect(m_png, &QPushButton::clicked, this, [this] { chooseFile(true); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    // The latest day with trips is the one an instructor looks at first.
    const QDate last = m_source.last.isValid() ? m_source.last : Clock::now().date();
    setPeriod(last, last);
}

frmReport* frmReport::showOver(QWidget* parent, ReportSource source)
{
    frmReport* report = nullptr;
    if (parent)
        for (frmReport* open : parent->findChildren<frmReport*>(Qt::FindDirectChildrenOnly))
            if (open->isVisible())
                report = open;
    if (report) {
        report->m_source = std::move(source);
        report->refresh();
    } else {
        report = new frmReport(std::move(source), parent);
    }
    report->show();
    report->raise();
    report->activateWindow();
    return report;
}

// The window is built in one language; in another it is built again, on the same period and
// at the same place, once the language has reached every window.
void frmReport::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() != QEvent::LanguageChange || !isVisible() || m_replaced)
        return;
    m_replaced = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            auto* again = new frmReport(m_source, parentWidget());
            again->setGeometry(geometry());
            again->setPeriod(m_shownFrom, m_shownTo);
            again->show();
            close();
        },
        Qt::QueuedConnection);
}

void frmReport::setPeriod(QDate from, QDate to)
{
    const QSignalBlocker blockFrom(m_from);
    const QSignalBlocker blockTo(m_to);
    m_from->setDate(std::min(from, to));
    m_to->setDate(std::max(from, to));
    refresh();
}

void frmReport::dateEdited()
{
    if (m_from->date() != m_shownFrom || m_to->date() != m_shownTo)
        refresh();
}

void frmReport::refresh()
{
    m_shownFrom = m_from->date();
    m_shownTo = m_to->date();
    journal::Report report;
    if (m_source.query) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        report = m_source.query(m_shownFrom, m_shownTo);
        QApplication::restoreOverrideCursor();
    }
    m_table->setReport(std::move(report));
    m_bars = ReportBars(m_table->report());
    const ChartPicture picture = m_bars.picture();
    m_chart->setAccessibleDescription(picture.title);
    if (m_draw)
        m_draw(m_chart, picture);
    m_csv->setEnabled(m_table->rowCount() > 0);
    m_png->setEnabled(m_draw && m_table->rowCount() > 0);

    if (!m_source.query) {
        m_status->setText(m_source.whyNone.isEmpty()
                              ? tr("沒有行程日誌，所以沒有可報告的行程。")
                              : tr("沒有行程日誌，所以沒有可報告的行程：%1").arg(m_source.whyNone));
        return;
    }
    const journal::Report& shown = m_table->report();
    if (shown.trips.isEmpty()) {
        m_status->setText(tr("所選日期內沒有行程。"));
        return;
    }
    int refused = 0;
    for (int n : shown.total.refusals)
        refused += n;
    m_status->setText(tr("%1 個行程，%2 名乘客，收款 %3 元，%4 次未收費。")
                          .arg(shown.trips.size())
                          .arg(shown.total.passengerCount())
                          .arg(shown.total.total().text())
                          .arg(refused));
}

QString frmReport::status() const
{
    return m_status->text();
}

bool frmReport::exportCsv(const QString& path, QString* error) const
{
    const QByteArray bytes = m_table->csv();
    return writeWhole(
        path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); }, error);
}

bool frmReport::exportPng(const QString& path, QString* error) const
{
    const QPixmap picture = m_chart->grab();
    return writeWhole(
        path, [&](QIODevice& out) { return picture.save(&out, "PNG"); }, error);
}

void frmReport::chooseFile(bool picture)
{
    const QString suffix = picture ? QStringLiteral("png") : QStringLiteral("csv");
    const QString name = QStringLiteral("%1_%2_%3.%4")
                             .arg(tr("行程報告"), m_shownFrom.toString(Qt::ISODate),
                                  m_shownTo.toString(Qt::ISODate), suffix);
    const QString folder = QStandardPaths::writableLocation(
        picture ? QStandardPaths::PicturesLocation : QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, picture ? tr("匯出圖表") : tr("匯出表格"), QDir(folder).filePath(name),
                       picture ? tr("PNG 圖片 (*.png)") : tr("CSV 檔案 (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    QString error;
    if (!(picture ? exportPng(path, &error) : exportCsv(path, &error))) {
        Desktop::instance().warn(
            tr("不能匯出到 %1：%2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_status->setText((picture ? tr("圖表已匯出到 %1") : tr("表格已匯出到 %1"))
                          .arg(QDir::toNativeSeparators(path)));
}
