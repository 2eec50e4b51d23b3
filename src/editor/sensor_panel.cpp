#include "editor/sensor_panel.h"

#include "editor/controls.h"
#include "editor/paint.h"
#include "editor/palette.h"
#include "editor/panel_parts.h"
#include "editor/rule_hook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace zarven {

using namespace palette;

namespace {

// Every temperature box: -55 to 125 °C, step 2, three characters, 1 as
// designed.
SpinEdit *addTemperature(QWidget *parent, const QString &name, const QRect &place)
{
    return addSpinEdit(parent, name, -55, 125, 2, 3, place, 1);
}

} // namespace

SensorPanel::SensorPanel(int sensor, std::shared_ptr<const RuleHook> hook, QWidget *parent)
    : QFrame(parent), sensor_(sensor), hook_(std::move(hook))
{
    const QString n = QString::number(sensor);
    setObjectName(QStringLiteral("Panel_td") + n);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFont(panelFont());
    setBackground(this, clMedGray);

    title = addTitle(this, QStringLiteral("Label_td%1").arg(n), QStringLiteral("Термодатчик ") + n, {8, 4, 140, 16});
    activeBox = addCheckBox(this, QStringLiteral("CheckBox_td") + n, QStringLiteral("Активировать"),
                            {222, 3, 102, 17}, false);
    setCaptionColor(activeBox, clYellow);

    addLabel(this, QStringLiteral("Label_td%1_limits").arg(n),
             QStringLiteral("Пороги опасной температуры (-55 -:- +125)"), {8, 24, 310, 16});
    addLabel(this, QStringLiteral("Label_td%1_min").arg(n), QStringLiteral("Min"), {16, 45, 24, 16});
    minEdit = addTemperature(this, QStringLiteral("SE_min_td") + n, {42, 42, 52, 22});
    addLabel(this, QStringLiteral("Label_td%1_minC").arg(n), QStringLiteral("С*"), {97, 45, 20, 16});
    addLabel(this, QStringLiteral("Label_td%1_max").arg(n), QStringLiteral("Max"), {140, 45, 26, 16});
    maxEdit = addTemperature(this, QStringLiteral("SE_max_td") + n, {168, 42, 52, 22});
    addLabel(this, QStringLiteral("Label_td%1_maxC").arg(n), QStringLiteral("С*"), {223, 45, 20, 16});

    keepingBox = addCheckBox(this, QStringLiteral("CheckBox_td") + n + QLatin1Char('1'), QStringLiteral("Поддержание температуры"),
                             {8, 68, 220, 18}, false);

    keepingPanel = addPanel(this, QStringLiteral("Panel_td%1_2").arg(n), {7, 89, 313, 96});
    setBackground(keepingPanel, clMedGray);
    QFrame *k = keepingPanel;
    addLabel(k, QStringLiteral("Label_td%1_keep").arg(n), QStringLiteral("Поддержание температуры (-55 -:- +125)"),
             {6, 3, 300, 16});
    addLabel(k, QStringLiteral("Label_td%1_out").arg(n), QStringLiteral("Применить для выхода:"), {6, 23, 130, 16});
    outputList = addList(k, QStringLiteral("CB_td%1_out").arg(n),
                         {QStringLiteral("Реле1"), QStringLiteral("Реле2"), QStringLiteral("Выход1(ОК1)"),
                          QStringLiteral("Выход2(ОК2)")},
                         {140, 21, 120, 20}, 0);
    addLabel(k, QStringLiteral("Label_td%1_eco").arg(n), QStringLiteral("Эконом"), {6, 48, 50, 16});
    economyEdit = addTemperature(k, QStringLiteral("SE_Min_td") + n + QLatin1Char('1'), {58, 45, 52, 22});
    addLabel(k, QStringLiteral("Label_td%1_ecoC").arg(n), QStringLiteral("С*"), {113, 48, 20, 16});
    addLabel(k, QStringLiteral("Label_td%1_comfort").arg(n), QStringLiteral("Комфорт"), {140, 48, 52, 16});
    comfortEdit = addTemperature(k, QStringLiteral("SE_max_td") + n + QLatin1Char('1'), {194, 45, 52, 22});
    addLabel(k, QStringLiteral("Label_td%1_comfortC").arg(n), QStringLiteral("С*"), {249, 48, 20, 16});
    autoBox = addCheckBox(k, QStringLiteral("CheckBox_td%1_auto").arg(n),
                          QStringLiteral("Авторегулировка температуры после снятия с охраны"), {6, 72, 303, 18},
                          false);
    connectRules();
}

void SensorPanel::connectRules()
{
    connect(activeBox, &QCheckBox::toggled, this, [this] { activeClick(); });
    connect(keepingBox, &QCheckBox::toggled, this, [this] { keepingClick(); });
    connect(autoBox, &QCheckBox::toggled, this, [this] { autoClick(); });
    for (SpinEdit *box : temperatureEdits())
        connect(box, &SpinEdit::textChanged, this, [this, box] { temperatureChange(box); });
}

void SensorPanel::activeClick()
{
    hook_->ran(activeBox->objectName() + QStringLiteral("Click"));
    if (activeBox->isChecked()) {
        // An active sensor's box is green like an active input's.
        setBackground(activeBox, clGreen);
        setBackground(minEdit, clWindow);
        minEdit->setEnabled(true);
        maxEdit->setEnabled(true);
        setBackground(maxEdit, clWindow);
        setBackground(this, clMoneyGreen);
        keepingBox->setEnabled(true);
        if (keepingBox->isChecked()) {
            setBackground(keepingBox, clOlive);
            setBackground(economyEdit, clWindow);
            economyEdit->setEnabled(true);
            autoBox->setEnabled(true);
            comfortEdit->setEnabled(autoBox->isChecked());
            setBackground(comfortEdit, clWindow);
            setBackground(keepingPanel, clMoneyGreen);
            keepingPanel->setEnabled(true);
        } else {
            setBackground(keepingBox, clGray);
            setBackground(economyEdit, clActiveBorder);
            economyEdit->setEnabled(false);
            comfortEdit->setEnabled(false);
            setBackground(comfortEdit, clActiveBorder);
            autoBox->setEnabled(false);
            setBackground(keepingPanel, clMedGray);
            keepingPanel->setEnabled(false);
        }
    } else {
        setBackground(activeBox, clRed);
        for (SpinEdit *box : {minEdit, maxEdit}) {
            setBackground(box, clActiveBorder);
            box->setEnabled(false);
        }
        for (SpinEdit *box : {economyEdit, comfortEdit}) {
            box->setEnabled(false);
            setBackground(box, clActiveBorder);
        }
        setBackground(this, clMedGray);
        keepingBox->setEnabled(false);
        setBackground(keepingBox, clGray);
        autoBox->setEnabled(false);
        keepingPanel->setEnabled(false);
        setBackground(keepingPanel, clMedGray);
    }
}

void SensorPanel::keepingClick()
{
    hook_->ran(keepingBox->objectName() + QStringLiteral("Click"));
    if (keepingBox->isChecked()) {
        setBackground(keepingBox, clOlive);
        setCaptionColor(keepingBox, clYellow);
        autoBox->setEnabled(true);
        economyEdit->setEnabled(true);
        setBackground(economyEdit, clWindow);
        comfortEdit->setEnabled(autoBox->isChecked());
        setBackground(comfortEdit, clWindow);
        setBackground(outputList, clWindow);
        outputList->setEnabled(true);
        setBackground(keepingPanel, clMoneyGreen);
        keepingPanel->setEnabled(true);
    } else {
        setBackground(keepingBox, clGray);
        setCaptionColor(keepingBox, clBlack);
        setBackground(economyEdit, clActiveBorder);
        economyEdit->setEnabled(false);
        comfortEdit->setEnabled(false);
        setBackground(comfortEdit, clActiveBorder);
        autoBox->setEnabled(false);
        autoBox->setChecked(false);
        setBackground(keepingPanel, clMedGray);
        keepingPanel->setEnabled(false);
        setBackground(outputList, clActiveBorder);
        outputList->setEnabled(false);
    }
}

void SensorPanel::autoClick()
{
    hook_->ran(autoBox->objectName() + QStringLiteral("Click"));
    if (autoBox->isChecked()) {
        setBackground(autoBox, clGreen);
        setCaptionColor(autoBox, clYellow);
        comfortEdit->setEnabled(true);
    } else {
        setBackground(autoBox, clGray);
        setCaptionColor(autoBox, clBlack);
        comfortEdit->setEnabled(false);
    }
}

void SensorPanel::temperatureChange(SpinEdit *box)
{
    hook_->ran(box->objectName() + QStringLiteral("Change"));
    // A value of 0 becomes 1 at once, however it got there; a text that is
    // not a number ("-" while typing) reads as -55 and is left alone.
    if (box->value() == 0)
        box->setValue(1);
}

} // namespace zarven
