#include "settings/control_access.h"

#include "app/errors.h"
#include "editor/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

namespace zarven {

namespace {

[[noreturn]] void wrongKind(const QString &name, const char *wanted)
{
    throw AppError(QStringLiteral("Control %1 is not a %2").arg(name, QLatin1String(wanted)));
}

} // namespace

ControlAccess::ControlAccess(QWidget *root) : root_(root)
{
}

QObject *ControlAccess::find(const QString &name) const
{
    auto it = cache_.find(name);
    if (it != cache_.end() && !it->isNull())
        return it->data();
    QObject *found = root_ ? root_->findChild<QObject *>(name) : nullptr;
    if (!found)
        throw AppError(QStringLiteral("Control %1 not found").arg(name));
    cache_.insert(name, found);
    return found;
}

bool ControlAccess::checked(const QString &name) const
{
    auto *box = qobject_cast<QAbstractButton *>(find(name));
    if (!box)
        wrongKind(name, "check box");
    return box->isChecked();
}

void ControlAccess::setChecked(const QString &name, bool on)
{
    auto *box = qobject_cast<QAbstractButton *>(find(name));
    if (!box)
        wrongKind(name, "check box");
    box->setChecked(on);
}

int ControlAccess::index(const QString &name) const
{
    QObject *o = find(name);
    if (auto *list = qobject_cast<QComboBox *>(o))
        return list->currentIndex();
    const QVariant v = o->property("itemIndex");
    if (!v.isValid())
        wrongKind(name, "list");
    return v.toInt();
}

void ControlAccess::setIndex(const QString &name, int i)
{
    QObject *o = find(name);
    if (auto *list = qobject_cast<QComboBox *>(o)) {
        list->setCurrentIndex(i >= 0 && i < list->count() ? i : -1);
        return;
    }
    if (!o->property("itemIndex").isValid())
        wrongKind(name, "list");
    o->setProperty("itemIndex", i);
}

QString ControlAccess::text(const QString &name) const
{
    QObject *o = find(name);
    if (auto *spin = qobject_cast<SpinEdit *>(o))
        return spin->text();
    if (auto *edit = qobject_cast<QLineEdit *>(o))
        return edit->text();
    wrongKind(name, "text box");
}

void ControlAccess::setText(const QString &name, const QString &t)
{
    QObject *o = find(name);
    if (auto *spin = qobject_cast<SpinEdit *>(o)) {
        spin->setText(t);
        return;
    }
    if (auto *edit = qobject_cast<QLineEdit *>(o)) {
        edit->setText(t);
        return;
    }
    wrongKind(name, "text box");
}

int ControlAccess::spinNumber(const QString &name) const
{
    auto *spin = qobject_cast<SpinEdit *>(find(name));
    if (!spin)
        wrongKind(name, "spin box");
    return qBound(spin->minValue(), spin->value(), spin->maxValue());
}

void ControlAccess::runClickRule(const QString &name)
{
    auto *box = qobject_cast<QAbstractButton *>(find(name));
    if (!box)
        wrongKind(name, "check box");
    // Click rules are attached to toggled(), which the box itself emits only
    // on a change; emitting it here runs the rule for the present state.
    emit box->toggled(box->isChecked());
}

} // namespace zarven
