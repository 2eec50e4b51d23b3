#include "panels_fixture.h"

#include "settings/control_names.h"

#include <QApplication>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv); // lives as long as the process
    return 0;
}

namespace zarven::fuzz {

PanelsFixture &PanelsFixture::instance()
{
    static PanelsFixture fixture;
    return fixture;
}

PanelsFixture::PanelsFixture() : panels_(new SettingsPanels(&host_, &host_)), controls_(*panels_)
{
    panels_->startUp();
}

void PanelsFixture::reset()
{
    panels_->cleanPanel();
    for (int input = 1; input <= kInputs; ++input) {
        controls_.setChecked(inputControls(input).useOutputs, false);
        controls_.setChecked(delayControl(input), false);
    }
    controls_.setChecked(QStringLiteral("CheckBox_SMS_All"), false);
    controls_.setChecked(QStringLiteral("CheckBox4"), true);
    controls_.setIndex(QStringLiteral("RG_Lang"), 0);
}

} // namespace zarven::fuzz
