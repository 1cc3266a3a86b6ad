// The dialogs, the help page and the log viewer reached from the menus.
#include "shell/frmMDI.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmCard.h"
#include "dialogs/frmOption.h"
#include "dialogs/frmReport.h"
#include "equipment/Equipment.h"
#include "journal/Journal.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/HelpPages.h"
#include "platform/InterfaceLanguage.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A dialog's end puts the keyboard, and a screen reader's attention, back on the window.
void runDialog(QDialog& dialog, QWidget* window)
{
    dialog.exec();
    window->activateWindow();
    window->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace

void frmMDI::mnuViewOutput_Click()
{
    const QString path = AppPaths::logFile();
    // Say so ourselves: an editor handed a missing file may fail without a word.
    if (!QFileInfo::exists(path)) {
        Desktop::instance().info(tr("尚未輸出任何行車記錄（log.txt 不存在）。"));
        return;
    }
    // No editor: the program's own viewer shows it.
    Desktop::openOrView(path, Desktop::ViewAs::Text,
                        tr("不能開啟行車記錄 %1。").arg(QDir::toNativeSeparators(path)));
}

// Not modal: the equipment goes on working while the report is open.
void frmMDI::mnuReport_Click()
{
    const Journal& journal = m_equipment->journal();
    ReportSource source;
    if (journal.isOpen()) {
        source.query = [&journal](QDate from, QDate to) { return journal.report(from, to); };
        if (const auto days = journal.tripDays()) {
            source.first = days->first;
            source.last = days->second;
        }
    } else {
        source.whyNone = journal.failure();
    }
    frmReport::showOver(this, source);
}

void frmMDI::mnuSetting_Click()
{
    frmCard dialog(*m_processor, this);
    runDialog(dialog, this);
}

void frmMDI::mnuOptions_Click()
{
    frmOption dialog(*m_processor, this);
    runDialog(dialog, this);
}

void frmMDI::mnuDDUHelp_Click()
{
    HelpPages::show(HelpPages::Page::Console, InterfaceLanguage::current());
}

void frmMDI::mnuAbout_Click()
{
    frmAbout dialog(this);
    runDialog(dialog, this);
}
