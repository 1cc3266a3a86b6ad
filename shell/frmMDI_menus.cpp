// The dialogs, the help page and the log viewer reached from the menus.
#include "shell/frmMDI.h"

void frmMDI::mnuViewOutput_Click() {}
void frmMDI::mnuSetting_Click() {}
void frmMDI::mnuOptions_Click() {}
void frmMDI::mnuDDUHelp_Click() {}
void frmMDI::mnuAbout_Click() {}
