// The in-memory trip log and its output to log.txt.
#include "ddu/frmDDU.h"

#include "bcp/frmBCP.h"
#include "common/Clock.h"
#include "common/Yield.h"
#include "ddu/TripLogFile.h"
#include "shell/AppPaths.h"
#include "shell/Desktop.h"

#include <QDir>
#include <QLabel>

void frmDDU::Log(const QString& line)
{
    txtLog += line;
    txtLog += QStringLiteral("\r\n");
}

void frmDDU::Output()
{
    // A second output started from a yield below would write the same block twice.
    if (m_outputRunning)
        return;
    m_outputRunning = true;

    if (m_bcp)
        m_bcp->Pause();
    lblLine1->setText(QStringLiteral(" "));
    lblLine2->setText(QStringLiteral("　　　正在輸出..."));
    lblLine3->setText(QString());
    Log(Clock::timeText() + QStringLiteral(" -----"));
    yieldEvents();

    // Take the block and start the new log in one step, so that a line logged while the
    // file is written lands in the new log and none falls between the two.
    const QString pending = m_unwritten + txtLog + QStringLiteral("\r\n");
    txtLog.clear();
    Log(Clock::dateText());
    Log(Clock::timeText() + QStringLiteral(" Log Reset"));

    const QString path = AppPaths::logFile();
    QString error;
    if (TripLogFile::append(path, pending, &error)) {
        m_unwritten.clear();
    } else {
        m_unwritten = pending;
        Desktop::instance().warn(
            QStringLiteral("不能寫入記錄檔案 %1：%2\n記錄已保留，下次輸出時會一併寫入。")
                .arg(QDir::toNativeSeparators(path), error));
    }
    yieldEvents();

    InputMode = Idle;
    m_outputRunning = false;
}
