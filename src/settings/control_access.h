#pragma once
// Reads and sets the settings controls of the window by their names. The
// settings image, the configuration file and their tests see the panels only
// through this class: a check box's ticked state, a list's or radio group's
// selected index, a text box's or spin box's text.
//
// Setting a state or a text goes through the control's own setter, so the
// control's rule runs exactly when the state or text actually changes, as
// for a user's change. Selecting a list entry runs no rule.

#include <QHash>
#include <QPointer>
#include <QString>

class QObject;
class QWidget;

namespace zarven {

class ControlAccess {
public:
    // Controls are looked up among the descendants of root.
    explicit ControlAccess(QWidget *root);

    bool checked(const QString &name) const;
    void setChecked(const QString &name, bool on);

    // The selected entry of a list or radio group; -1 when none is selected.
    int index(const QString &name) const;
    // Selects an entry. A list asked for an index outside its entries
    // selects none; a radio group asked for an entry beyond its last selects
    // its last (so -1 selects none in both).
    void setIndex(const QString &name, int index);

    // The text of a text box, phone box or spin box.
    QString text(const QString &name) const;
    void setText(const QString &name, const QString &text);

    // The number a spin box stands for: its text's integer value, MinValue
    // for a text that is not an integer, and a number outside the box's range
    // taken as the nearer bound, as the box itself shows it once left.
    int spinNumber(const QString &name) const;

    // Runs a check box's click rule once for its current state, whether or
    // not the state changed.
    void runClickRule(const QString &name);

    QWidget *root() const { return root_; }

private:
    QObject *find(const QString &name) const;

    QWidget *root_;
    mutable QHash<QString, QPointer<QObject>> cache_;
};

} // namespace zarven
