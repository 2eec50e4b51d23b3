#pragma once
// A second, hidden set of the settings panels that the controller's settings
// are read into for a comparison: the window, its file and its backup stay
// as they are. The panels are the window's own, so a reply decodes here
// exactly as it would into the window, rules included.

#include "settings/control_access.h"

#include <QByteArray>
#include <QList>
#include <memory>

class QWidget;

namespace zarven {

class EventLog;
class SettingsPanels;

class ShadowSettings {
public:
    // The panels as the window starts them.
    ShadowSettings();
    ~ShadowSettings();

    ControlAccess &controls() { return controls_; }

    // Resets the panels as a read resets the window, then decodes the reply
    // into them, logging format errors. Returns the number of counted
    // records; 0 means the controller's memory holds no settings.
    int decode(const QByteArray &reply, EventLog &log);

private:
    std::unique_ptr<QWidget> host_;
    SettingsPanels *panels_;
    ControlAccess controls_;
};

} // namespace zarven
