#pragma once
// The window's settings as text lines "name=value", in a fixed order, so
// that two windows compare with the differing control named.

#include <QStringList>

namespace zarven {
class ControlAccess;
class SettingsPanels;
} // namespace zarven

namespace zarven::test {

// The controls the settings image carries, each as the image carries it (an
// inactive input's other controls, an unassigned output's time and a phone
// box's blanks are not carried).
QStringList imageState(const ControlAccess &c);

// Every check box, text, spin and phone box, list and radio group of the
// panels, by name.
QStringList windowState(const SettingsPanels &panels);

} // namespace zarven::test
