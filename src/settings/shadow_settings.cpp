#include "settings/shadow_settings.h"

#include "editor/settings_panels.h"
#include "settings/settings_read.h"

#include <QWidget>

namespace zarven {

ShadowSettings::ShadowSettings()
    : host_(std::make_unique<QWidget>()), panels_(new SettingsPanels(host_.get(), host_.get())), controls_(*panels_)
{
    panels_->startUp();
}

ShadowSettings::~ShadowSettings() = default;

int ShadowSettings::decode(const QByteArray &reply, EventLog &log)
{
    return decodeSettingsReply(reply, controls_, log);
}

} // namespace zarven
