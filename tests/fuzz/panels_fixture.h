#pragma once
// The settings panels for the fuzz targets of the settings formats: built
// once per process on a bare client area (no main window) and reset before
// each input, which keeps a run at hundreds of inputs per second.

#include "core/shared_values.h"
#include "editor/settings_panels.h"
#include "settings/control_access.h"

#include <QWidget>

namespace zarven::fuzz {

class PanelsFixture {
public:
    static PanelsFixture &instance();

    SettingsPanels &panels() { return *panels_; }
    ControlAccess &controls() { return controls_; }
    const SharedValues &shared() const { return shared_; }

    // The reset before a read from the controller, plus the controls that
    // reset leaves alone set to their starting values, so every input starts
    // from one state whatever the inputs before it did.
    void reset();

private:
    PanelsFixture();

    QWidget host_;
    SettingsPanels *panels_;
    ControlAccess controls_;
    SharedValues shared_;
};

} // namespace zarven::fuzz
