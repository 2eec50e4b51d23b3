#include "app/main_window.h"
#include "editor/settings_panels.h"

namespace zarven {

// The settings panels on the client area. Their rules are connected inside
// the panels; the start-up steps and the clock reach them through runStartUp
// and onClockTick.
void MainWindow::wireEditor()
{
    panels = new SettingsPanels(clientArea, this);
}

} // namespace zarven
