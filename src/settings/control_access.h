#pragma once
// Reads and sets the settings controls of the window by their names, for
// the settings image and the configuration file: a check box's ticked state,
// a list's or radio group's selected index, a text box's, phone box's or spin
// box's text. Every value goes through the panels' own by-name setters, so a
// control's rule runs exactly when its state or text actually changes, as for
// a user's change; selecting a list entry runs no rule.
//
// A name that is not a control of the asked kind throws AppError.

#include <QString>

namespace zarven {

class SettingsPanels;

class ControlAccess {
public:
    explicit ControlAccess(SettingsPanels &panels) : panels_(&panels) {}

    bool checked(const QString &name) const;
    void setChecked(const QString &name, bool on);

    // The selected entry of a list or radio group; -1 when none is selected.
    int index(const QString &name) const;
    // Selects an entry. A list asked for an index outside its entries
    // selects none; a radio group asked for an entry beyond its last selects
    // its last; -1 selects none in both.
    void setIndex(const QString &name, int index);

    QString text(const QString &name) const;
    void setText(const QString &name, const QString &text);

    // The number a spin box stands for: its text's integer value, MinValue
    // for a text that is not an integer, and a number outside the box's range
    // taken as the nearer bound, as the box itself shows it once left.
    int spinNumber(const QString &name) const;

    // Runs the click rule of an input's or sensor's "Активировать" box, of an
    // input's use-outputs box or of a sensor's keeping box once, for the
    // box's present state, whether or not the state changed.
    void runClickRule(const QString &name);

    SettingsPanels &panels() const { return *panels_; }

private:
    SettingsPanels *panels_;
};

} // namespace zarven
