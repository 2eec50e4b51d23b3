#pragma once
// Small builders for the settings panels: each creates one named control at
// its place in the panel with its value as designed. Rules are connected by
// the panels afterwards, so building runs no rule.

#include <QRect>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

namespace zarven {

class SpinEdit;

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &place);
QLabel *addTitle(QWidget *parent, const QString &name, const QString &text, const QRect &place);
QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
                       bool ticked);
SpinEdit *addSpinEdit(QWidget *parent, const QString &name, int minValue, int maxValue, int increment,
                      int maxLength, const QRect &place, int value);
// A list the user can only pick from; index -1 selects nothing.
QComboBox *addList(QWidget *parent, const QString &name, const QStringList &entries, const QRect &place,
                   int index);
// maxLength 0: no limit. maxLength limits typing only; a longer text set by
// code is kept whole.
QLineEdit *addEdit(QWidget *parent, const QString &name, const QRect &place, int maxLength);
// A raised panel with its designed colour.
QFrame *addPanel(QWidget *parent, const QString &name, const QRect &place);

} // namespace zarven
