#include "settings/control_access.h"

#include "core/errors.h"
#include "editor/controls.h"
#include "editor/input_panel.h"
#include "editor/sensor_panel.h"
#include "editor/settings_panels.h"

#include <QRegularExpression>

namespace zarven {

bool ControlAccess::checked(const QString &name) const
{
    return panels_->isChecked(name);
}

void ControlAccess::setChecked(const QString &name, bool on)
{
    panels_->setChecked(name, on);
}

int ControlAccess::index(const QString &name) const
{
    return panels_->itemIndex(name);
}

void ControlAccess::setIndex(const QString &name, int i)
{
    if (RadioGroup *group = panels_->radioGroup(name)) {
        group->setItemIndex(qMin(i, group->count() - 1));
        return;
    }
    panels_->setItemIndex(name, i);
}

QString ControlAccess::text(const QString &name) const
{
    return panels_->text(name);
}

void ControlAccess::setText(const QString &name, const QString &t)
{
    panels_->setText(name, t);
}

int ControlAccess::spinNumber(const QString &name) const
{
    SpinEdit *spin = panels_->spinEdit(name);
    if (!spin)
        throw AppError(QStringLiteral("Control %1 is not a spin box").arg(name));
    return qBound(spin->minValue(), spin->value(), spin->maxValue());
}

void ControlAccess::runClickRule(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^CheckBox_(in|td)?([1-4])(1?)$"));
    const auto m = pattern.match(name);
    if (m.hasMatch()) {
        const int n = m.captured(2).toInt();
        const bool second = !m.captured(3).isEmpty();
        if (m.captured(1) == QLatin1String("in") && !second) {
            panels_->inputPanel(n)->activeClick();
            return;
        }
        if (m.captured(1).isEmpty() && second) {
            panels_->inputPanel(n)->useOutputsClick();
            return;
        }
        if (m.captured(1) == QLatin1String("td") && n <= 2) {
            if (second)
                panels_->sensorPanel(n)->keepingClick();
            else
                panels_->sensorPanel(n)->activeClick();
            return;
        }
    }
    throw AppError(QStringLiteral("No click rule to run for %1").arg(name));
}

} // namespace zarven
