#include "editor/settings_panels.h"

#include "core/errors.h"
#include "editor/arming_panel.h"
#include "editor/controls.h"
#include "editor/input_panel.h"
#include "editor/phone_panel.h"
#include "editor/sensor_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace zarven {

namespace {

// Places of the panels in the client area.
const QRect kPhonePlace{0, -2, 257, 189};
const QRect kArmingPlace{0, 188, 257, 385};
const QRect kInputPlaces[4] = {{258, 0, 329, 189}, {258, 192, 329, 189}, {258, 384, 329, 189}, {593, 0, 329, 189}};
const QRect kSensorPlaces[2] = {{593, 192, 329, 188}, {594, 384, 329, 188}};

// The outputs in the order the reset walks them.
constexpr std::array<char, 4> kResetOrder = {'1', '2', '3', 'S'};

} // namespace

SettingsPanels::SettingsPanels(QWidget *clientArea, QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("SettingsPanels"));
    phone_ = new PhonePanel(hook_, clientArea);
    phone_->setGeometry(kPhonePlace);
    arming_ = new ArmingPanel(hook_, clientArea);
    arming_->setGeometry(kArmingPlace);
    for (int i = 0; i < 4; ++i) {
        inputs_[size_t(i)] = new InputPanel(i + 1, hook_, clientArea);
        inputs_[size_t(i)]->setGeometry(kInputPlaces[i]);
    }
    for (int i = 0; i < 2; ++i) {
        sensors_[size_t(i)] = new SensorPanel(i + 1, hook_, clientArea);
        sensors_[size_t(i)]->setGeometry(kSensorPlaces[i]);
    }
    // Temperature keeping of sensor 1 drives relay 2, which every input's
    // relay 2 row would otherwise switch as well.
    for (InputPanel *in : inputs_)
        in->setRelay2Lock(sensors_[0]->keepingBox);

    registerNames(phone_);
    registerNames(arming_);
    for (InputPanel *in : inputs_)
        registerNames(in);
    for (SensorPanel *s : sensors_)
        registerNames(s);
}

void SettingsPanels::registerNames(QWidget *panel)
{
    QList<QWidget *> widgets{panel};
    widgets += panel->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        const QString name = w->objectName();
        // Qt names the inner parts of its own widgets "qt_…".
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        Q_ASSERT_X(!byName_.contains(name), "SettingsPanels", qPrintable(name));
        byName_.insert(name, w);
        names_.append(name);
    }
}

QWidget *SettingsPanels::control(const QString &name) const
{
    return byName_.value(name);
}

QCheckBox *SettingsPanels::checkBox(const QString &name) const
{
    return qobject_cast<QCheckBox *>(control(name));
}

SpinEdit *SettingsPanels::spinEdit(const QString &name) const
{
    return qobject_cast<SpinEdit *>(control(name));
}

QLineEdit *SettingsPanels::lineEdit(const QString &name) const
{
    return qobject_cast<QLineEdit *>(control(name));
}

PhoneEdit *SettingsPanels::phoneEdit(const QString &name) const
{
    return qobject_cast<PhoneEdit *>(control(name));
}

QComboBox *SettingsPanels::list(const QString &name) const
{
    return qobject_cast<QComboBox *>(control(name));
}

RadioGroup *SettingsPanels::radioGroup(const QString &name) const
{
    return qobject_cast<RadioGroup *>(control(name));
}

void SettingsPanels::noSuchControl(const QString &name) const
{
    throw AppError(QStringLiteral("No settings control of this kind: %1").arg(name));
}

bool SettingsPanels::isChecked(const QString &name) const
{
    if (QCheckBox *b = checkBox(name))
        return b->isChecked();
    noSuchControl(name);
}

void SettingsPanels::setChecked(const QString &name, bool ticked)
{
    QCheckBox *b = checkBox(name);
    if (!b)
        noSuchControl(name);
    b->setChecked(ticked);
}

QString SettingsPanels::text(const QString &name) const
{
    if (SpinEdit *s = spinEdit(name))
        return s->text();
    if (PhoneEdit *p = phoneEdit(name))
        return p->text();
    if (QLineEdit *e = lineEdit(name))
        return e->text();
    noSuchControl(name);
}

void SettingsPanels::setText(const QString &name, const QString &text)
{
    if (SpinEdit *s = spinEdit(name))
        s->setText(text);
    else if (PhoneEdit *p = phoneEdit(name))
        p->setText(text);
    else if (QLineEdit *e = lineEdit(name)) {
        // MaxLength limits typing only: a longer message from a file or the
        // controller is taken whole (addEdit brings the limit back down).
        if (text.size() > e->maxLength())
            e->setMaxLength(int(text.size()));
        e->setText(text);
    } else
        noSuchControl(name);
}

int SettingsPanels::itemIndex(const QString &name) const
{
    if (QComboBox *c = list(name))
        return c->currentIndex();
    if (RadioGroup *g = radioGroup(name))
        return g->itemIndex();
    noSuchControl(name);
}

void SettingsPanels::setItemIndex(const QString &name, int index)
{
    if (QComboBox *c = list(name))
        c->setCurrentIndex(index < c->count() ? index : -1);
    else if (RadioGroup *g = radioGroup(name))
        g->setItemIndex(index);
    else
        noSuchControl(name);
}

void SettingsPanels::cleanPanel()
{
    // 1 to 4: the inputs' own controls. Clearing an active input runs its
    // rule, which greys the input out.
    for (InputPanel *in : inputs_)
        in->activeBox->setChecked(false);
    for (InputPanel *in : inputs_)
        in->ctrl24Box->setChecked(false);
    for (InputPanel *in : inputs_)
        in->messageEdit->clear();
    for (InputPanel *in : inputs_)
        in->typeList->setCurrentIndex(-1);

    // 5 to 8: the output rows.
    for (InputPanel *in : inputs_) {
        for (char o : kResetOrder)
            in->row(QLatin1Char(o)).assign->setChecked(false);
    }
    for (char o : kResetOrder) {
        for (InputPanel *in : inputs_)
            in->row(QLatin1Char(o)).minutes->setText(QStringLiteral("0"));
    }
    for (char o : kResetOrder) {
        for (InputPanel *in : inputs_)
            in->row(QLatin1Char(o)).seconds->setText(QStringLiteral("1"));
    }
    for (char o : kResetOrder) {
        for (InputPanel *in : inputs_)
            in->row(QLatin1Char(o)).alwaysOn->setChecked(false);
    }

    // 9, 10: an empty number in every phone box ("+" and blanks), which the
    // settings image and the configuration file write as "7"; no date or
    // time.
    for (PhoneEdit *p : phone_->phones())
        p->setText(QStringLiteral("+"));
    phone_->dateEdit->clear();
    phone_->timeEdit->clear();

    // 11 to 15: the arming options.
    ArmingPanel *a = arming_;
    a->armingLevelList->setCurrentIndex(-1);
    for (QCheckBox *b : {a->smsOnArmingBox, a->smsOnDisarmingBox, a->soundOnArmingBox, a->watchSupplyBox,
                         a->externalUpsBox, a->timeInSmsBox, a->callAudioBox, a->callStateSmsBox})
        b->setChecked(false);
    a->armedOutputList->setCurrentIndex(-1);
    a->alarmSmsBox->setChecked(false);
    a->alarmCallBox->setChecked(false);
    a->armedStateOutputGroup->setItemIndex(-1);

    // 16 to 18: the sensors. Each temperature set to 0 turns 1 by its rule.
    SensorPanel *s1 = sensors_[0];
    SensorPanel *s2 = sensors_[1];
    for (QCheckBox *b : {s1->activeBox, s2->activeBox, s1->keepingBox, s2->keepingBox, s1->autoBox, s2->autoBox})
        b->setChecked(false);
    for (SpinEdit *t : {s1->minEdit, s2->minEdit, s1->economyEdit, s2->economyEdit, s1->maxEdit, s2->maxEdit,
                        s1->comfortEdit, s2->comfortEdit})
        t->setValue(0);
    s1->outputList->setCurrentIndex(0);
    s2->outputList->setCurrentIndex(0);

    // 19: the delays; the delay rule puts "0" back into an emptied box.
    a->armingDelayBox->setText(QString());
    a->disarmingDelayBox->setText(QString());
}

void SettingsPanels::startUp()
{
    arming_->armedStateOutputGroup->setItemIndex(0);
    for (InputPanel *in : inputs_)
        in->activeClick();
    for (SensorPanel *s : sensors_)
        s->activeClick();
}

void SettingsPanels::clockTick(const QString &timeText)
{
    phone_->clockTick(timeText);
}

} // namespace zarven
