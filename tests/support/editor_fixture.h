#pragma once
// The settings panels on a bare client area, with every rule that runs
// recorded by its handler's name, for tests of the panels and their rules.

#include "editor/arming_panel.h"
#include "editor/controls.h"
#include "editor/input_panel.h"
#include "editor/paint.h"
#include "editor/palette.h"
#include "editor/phone_panel.h"
#include "editor/sensor_panel.h"
#include "editor/settings_panels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

namespace zarven::test {

class EditorFixture {
public:
    // started: the panels as the window shows them after its start-up steps.
    explicit EditorFixture(bool started = true) : panels(new SettingsPanels(&host, &host))
    {
        host.setFixedSize(933, 640);
        panels->rules().onRule = [this](const QString &handler) { ran << handler; };
        if (started)
            panels->startUp();
        ran.clear();
    }

    // Shows the client area, so that focus and mouse events reach it.
    void show()
    {
        host.show();
        host.activateWindow();
    }

    int runs(const QString &handler) const { return int(ran.count(handler)); }

    QCheckBox *box(const QString &name) const { return panels->checkBox(name); }
    SpinEdit *spin(const QString &name) const { return panels->spinEdit(name); }
    QLineEdit *edit(const QString &name) const { return panels->lineEdit(name); }
    QComboBox *list(const QString &name) const { return panels->list(name); }
    QWidget *control(const QString &name) const { return panels->control(name); }
    InputPanel *input(int n) const { return panels->inputPanel(n); }
    SensorPanel *sensor(int n) const { return panels->sensorPanel(n); }

    QWidget host;
    SettingsPanels *panels;
    QStringList ran;
};

// A control's name: the prefix, the number of its input, sensor or box, the
// rest ("Edit_OUT", 2, "3m" gives "Edit_OUT23m").
inline QString controlName(const char *prefix, int k, const char *rest = "")
{
    return QLatin1String(prefix) + QString::number(k) + QLatin1String(rest);
}

} // namespace zarven::test
