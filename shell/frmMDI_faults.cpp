// Simulated faults: the bus shaking, the card processor overheating.
#include "shell/frmMDI.h"

#include "bcp/CardProcessor.h"
#include "common/Random.h"
#include "common/Timer.h"
#include "common/Yield.h"
#include "equipment/Equipment.h"
#include "panels/frmBCP.h"
#include "panels/frmDDU.h"
#include "platform/Desktop.h"

#include <QAction>
#include <QPointer>

void frmMDI::mnuSimVib_Click()
{
    // The check mark has already been turned over; disabling lets a running jolt finish.
    m_tmrVib->setEnabled(m_mnuSimVib->isChecked());
    m_equipment->note(m_mnuSimVib->isChecked() ? journal::EventKind::VibrationOn
                                               : journal::EventKind::VibrationOff);
}

void frmMDI::tmrVib_Timer()
{
    QPointer<frmMDI> self(this);
    for (int i = 0; i < 10; ++i) {
        const int d = static_cast<int>(rnd() * 500) - 250;
        m_bcp->setTop(m_bcp->Top() + d);
        m_ddu->setTop(m_ddu->Top() + d);
        // Each step is drawn; clicks and the devices' timers run in between. The jolt
        // timer does not start another jolt meanwhile.
        yieldEvents();
        if (!self || m_unloaded)
            return;
    }
    m_bcp->setTop(0);
    m_ddu->setTop(0);
    m_tmrVib->setInterval(static_cast<int>(rnd() * 5000) + 1000);
}

void frmMDI::mnuSimTemp_Click()
{
    if (m_processor->overheat()) {
        m_mnuSimTemp->setChecked(true);
        return;
    }
    Desktop::instance().beep();
    m_mnuSimTemp->setChecked(false);
}
