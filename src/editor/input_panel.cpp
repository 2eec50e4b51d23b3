#include "editor/input_panel.h"

#include "core/errors.h"
#include "editor/controls.h"
#include "editor/paint.h"
#include "editor/palette.h"
#include "editor/panel_parts.h"
#include "editor/rule_hook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace zarven {

using namespace palette;

namespace {

// The order in which the use-outputs rule walks the rows.
constexpr std::array<char, 4> kRuleOrder = {'1', 'S', '2', '3'};

struct RowDesign {
    char output;
    const char *caption;
};

// Top to bottom. The blanks of a caption lie under the minutes box.
const RowDesign kRows[4] = {
    {'S', "Выход 1(Сирена) мин"},
    {'2', "Выход 2             мин"},
    {'3', "Реле 1                мин"},
    {'1', "Реле 2                мин"},
};

// Places inside the output sub-panel.
constexpr int kRowTop = 3;
constexpr int kRowStep = 25;
constexpr int kRowHeight = 22;
constexpr int kAssignX = 3;
constexpr int kMinutesX = 112;
constexpr int kMinutesW = 44;
constexpr int kSecondsX = 182;
constexpr int kSecondsW = 36;

} // namespace

InputPanel::InputPanel(int input, std::shared_ptr<const RuleHook> hook, QWidget *parent)
    : QFrame(parent), input_(input), hook_(std::move(hook))
{
    const QString n = QString::number(input);
    setObjectName(QStringLiteral("Panel_in") + n);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFont(panelFont());
    setBackground(this, input == 1 ? clMoneyGreen : clMedGray);

    title = addTitle(this, QStringLiteral("Label_in%1").arg(n), QStringLiteral("Вход ") + n, {8, 4, 120, 16});
    activeBox = addCheckBox(this, QStringLiteral("CheckBox_in") + n, QStringLiteral("Активировать"),
                            {222, 3, 102, 17}, input == 1);
    setCaptionColor(activeBox, clYellow);
    useOutputsBox = addCheckBox(this, QStringLiteral("CheckBox_") + n + QLatin1Char('1'),
                                input == 1 ? QStringLiteral("Задействовать выходы")
                                           : QStringLiteral("Задействовать выход"),
                                {130, 3, 90, 17}, true);
    useOutputsBox->setVisible(false);

    addLabel(this, QStringLiteral("Label_msg%1").arg(n), QStringLiteral("Сообщение"), {8, 24, 70, 16});
    messageEdit = addEdit(this, QStringLiteral("Edit") + n, {80, 22, 243, 20}, 25);
    addLabel(this, QStringLiteral("Label_type%1").arg(n), QStringLiteral("Тип входа"), {8, 46, 70, 16});
    typeList = addList(this, QStringLiteral("CBox_IN") + n,
                       {QStringLiteral("Внешний уровень 3-12В"), QStringLiteral("Нормально разомкнутый НРЗ"),
                        QStringLiteral("Нормально замкнутый НЗ")},
                       {80, 44, 243, 20}, -1);
    timeNote = addLabel(this, QStringLiteral("Label_note%1").arg(n), QStringLiteral("Время включения: до 500 мин."),
                        {8, 66, 180, 16});
    ctrl24Box = addCheckBox(this, QStringLiteral("CB_ctrl_24_") + n, QStringLiteral("Контроль 24 часа"),
                            {200, 64, 123, 17}, false);
    setBackground(ctrl24Box, clYellow);
    setCaptionColor(ctrl24Box, clRed);
    QFont bold = ctrl24Box->font();
    bold.setBold(true);
    ctrl24Box->setFont(bold);

    outputPanel = addPanel(this, QStringLiteral("Panel%1_2").arg(n), {4, 82, 321, 104});
    setBackground(outputPanel, clMedGray);
    buildRows();
    connectRules();
}

void InputPanel::buildRows()
{
    const QString n = QString::number(input_);
    for (int i = 0; i < 4; ++i) {
        OutputRow &r = rows[size_t(i)];
        r.output = QLatin1Char(kRows[i].output);
        const QString no = n + r.output;
        const int y = kRowTop + i * kRowStep;
        // The assignment box first: the minutes box created after it lies on
        // top of the caption's blanks.
        r.assign = new AssignmentBox(QString::fromUtf8(kRows[i].caption), outputPanel);
        r.assign->setObjectName(QStringLiteral("RG_OUT") + no);
        r.assign->setGeometry(kAssignX, y, kSecondsX - 3 - kAssignX, kRowHeight);
        r.minutes = addSpinEdit(outputPanel, QStringLiteral("Edit_OUT%1m").arg(no), 0, 1090, 1, 3,
                                {kMinutesX, y, kMinutesW, kRowHeight}, 0);
        r.assign->setCover(r.minutes);
        r.seconds = addSpinEdit(outputPanel, QStringLiteral("Edit_OUT%1s").arg(no), 0, 59, 2, 2,
                                {kSecondsX, y, kSecondsW, kRowHeight}, 1);
        addLabel(outputPanel, QStringLiteral("Label_sec%1").arg(no), QStringLiteral("сек"),
                 {kSecondsX + kSecondsW + 3, y + 3, 20, 16});
        r.alwaysOn = addCheckBox(outputPanel, QStringLiteral("CheckBox") + n + QLatin1Char('1') + r.output,
                                 QStringLiteral("Вкл. всегда"), {kSecondsX + kSecondsW + 24, y + 2, 78, 18}, false);
    }
}

void InputPanel::connectRules()
{
    connect(activeBox, &QCheckBox::toggled, this, [this] { activeClick(); });
    connect(useOutputsBox, &QCheckBox::toggled, this, [this] { useOutputsClick(); });
    for (OutputRow &r : rows) {
        OutputRow *p = &r;
        connect(r.assign, &QCheckBox::toggled, this, [this, p] { assignClick(*p); });
        connect(r.alwaysOn, &QCheckBox::toggled, this, [this, p] { alwaysOnClick(*p); });
        connect(r.minutes, &SpinEdit::exited, this, [this, p] { minutesExit(*p); });
    }
}

InputPanel::OutputRow &InputPanel::row(QChar output)
{
    for (OutputRow &r : rows) {
        if (r.output == output)
            return r;
    }
    throw AppError(QStringLiteral("No output row %1 on input %2").arg(output).arg(input_));
}

const InputPanel::OutputRow &InputPanel::row(QChar output) const
{
    return const_cast<InputPanel *>(this)->row(output);
}

QString InputPanel::handler(const QString &control, const char *event) const
{
    return control + QLatin1String(event);
}

void InputPanel::activeClick()
{
    hook_->ran(handler(activeBox->objectName(), "Click"));
    if (activeBox->isChecked()) {
        setBackground(activeBox, clGreen);
        setBackground(messageEdit, clWindow);
        messageEdit->setEnabled(true);
        typeList->setEnabled(true);
        setBackground(typeList, clWindow);
        setBackground(this, clMoneyGreen);
        ctrl24Box->setEnabled(true);
        useOutputsBox->setEnabled(true);
        useOutputsBox->setChecked(true);
        if (typeList->currentIndex() < 0)
            typeList->setCurrentIndex(0);
        // Again, even when ticking the box above has just run it: the
        // decoders set the box before the input, and the rows must follow.
        useOutputsClick();
    } else {
        setBackground(activeBox, clRed);
        setBackground(messageEdit, clActiveBorder);
        messageEdit->setEnabled(false);
        typeList->setEnabled(false);
        setBackground(typeList, clActiveBorder);
        setBackground(this, clMedGray);
        useOutputsBox->setChecked(false);
        useOutputsBox->setEnabled(false);
        setBackground(useOutputsBox, clGray);
        outputPanel->setEnabled(false);
        for (QChar o : {QLatin1Char('1'), QLatin1Char('2')}) {
            OutputRow &r = row(o);
            setBackground(r.minutes, clActiveBorder);
            r.minutes->setEnabled(false);
            r.assign->setEnabled(false);
        }
        setBackground(outputPanel, clMedGray);
        row(QLatin1Char('1')).alwaysOn->setEnabled(false);
        row(QLatin1Char('2')).alwaysOn->setEnabled(false);
        ctrl24Box->setEnabled(false);
    }
}

void InputPanel::useOutputsClick()
{
    hook_->ran(handler(useOutputsBox->objectName(), "Click"));
    for (char o : kRuleOrder)
        assignClick(row(QLatin1Char(o)));

    if (useOutputsBox->isChecked()) {
        setBackground(useOutputsBox, clOlive);
        row(QLatin1Char('1')).assign->setEnabled(!(relay2Lock_ && relay2Lock_->isChecked()));
        for (char o : {'S', '2', '3'})
            row(QLatin1Char(o)).assign->setEnabled(true);
        for (char o : kRuleOrder)
            alwaysOnClick(row(QLatin1Char(o)));
        setBackground(outputPanel, clMoneyGreen);
        outputPanel->setEnabled(true);
    } else {
        setBackground(useOutputsBox, clGray);
        for (char o : kRuleOrder) {
            OutputRow &r = row(QLatin1Char(o));
            setBackground(r.minutes, clActiveBorder);
            r.assign->setEnabled(false);
        }
        for (char o : kRuleOrder)
            row(QLatin1Char(o)).alwaysOn->setEnabled(false);
        for (char o : kRuleOrder)
            row(QLatin1Char(o)).minutes->setEnabled(false);
        // Every input alike, input 3 included: its seconds boxes too.
        for (char o : kRuleOrder)
            row(QLatin1Char(o)).seconds->setEnabled(false);
        setBackground(outputPanel, clMedGray);
        outputPanel->setEnabled(false);
    }
}

void InputPanel::assignClick(OutputRow &r)
{
    hook_->ran(handler(r.assign->objectName(), "Click"));
    if (r.assign->isChecked()) {
        r.minutes->setEnabled(true);
        r.seconds->setEnabled(true);
        r.alwaysOn->setEnabled(true);
        setBackground(r.minutes, clWindow);
        setBackground(r.seconds, clWindow);
        alwaysOnClick(r);
    } else {
        r.minutes->setEnabled(false);
        r.seconds->setEnabled(false);
        r.alwaysOn->setEnabled(false);
        setBackground(r.minutes, clActiveBorder);
        setBackground(r.seconds, clActiveBorder);
        // A relay 2 row given up shows the shortest time, on every input.
        if (r.output == QLatin1Char('1')) {
            r.minutes->setValue(0);
            r.seconds->setValue(1);
        }
    }
}

void InputPanel::alwaysOnClick(OutputRow &r)
{
    hook_->ran(handler(r.alwaysOn->objectName(), "Click"));
    const bool free = !r.alwaysOn->isChecked();
    r.minutes->setEnabled(free);
    r.seconds->setEnabled(free);
}

void InputPanel::minutesExit(OutputRow &r)
{
    hook_->ran(handler(r.minutes->objectName(), "Exit"));
    if (r.minutes->text().isEmpty())
        r.minutes->setText(QStringLiteral("0"));
}

} // namespace zarven
