#pragma once

class QApplication;

namespace Startup {

// Style, fonts and names shared by the program and its tests.
void prepareApplication(QApplication& app);

} // namespace Startup
