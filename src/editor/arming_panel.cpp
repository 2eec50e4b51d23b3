#include "editor/arming_panel.h"

#include "editor/controls.h"
#include "editor/paint.h"
#include "editor/palette.h"
#include "editor/panel_parts.h"
#include "editor/rule_hook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace zarven {

ArmingPanel::ArmingPanel(std::shared_ptr<const RuleHook> hook, QWidget *parent) : QFrame(parent), hook_(std::move(hook))
{
    setObjectName(QStringLiteral("Panel5"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFont(panelFont());
    setBackground(this, palette::clInfoBk);

    title = addTitle(this, QStringLiteral("Label_arm"), QStringLiteral("Постановка/Снятие"), {8, 4, 240, 16});
    addLabel(this, QStringLiteral("Label_level"), QStringLiteral("Уровень"), {8, 25, 50, 16});
    armingLevelList = addList(this, QStringLiteral("CBox_INPUT"),
                         {QStringLiteral("Высокий"), QStringLiteral("Низкий"), QStringLiteral("Touch Memory/Импульс")},
                         {62, 23, 186, 20}, 2);

    addLabel(this, QStringLiteral("Label_delay"), QStringLiteral("Время задержки: 0-250(c)"), {8, 46, 240, 16});
    addLabel(this, QStringLiteral("Label_inp"), QStringLiteral("Постановка -"), {8, 65, 72, 16});
    armingDelayBox = addSpinEdit(this, QStringLiteral("SE_inp"), 0, 250, 2, 3, {80, 62, 48, 22}, 0);
    addLabel(this, QStringLiteral("Label_out"), QStringLiteral("Снятие -"), {140, 65, 52, 16});
    disarmingDelayBox = addSpinEdit(this, QStringLiteral("SE_out"), 0, 250, 2, 3, {194, 62, 48, 22}, 0);

    addLabel(this, QStringLiteral("Label_delay_inputs"), QStringLiteral("Задержка для входов"), {8, 104, 120, 16});
    delayHeading_ = addLabel(this, QStringLiteral("Label_delay_heading"), QStringLiteral("Входы:  1     2      3      4"),
                             {128, 87, 124, 16});
    QCheckBox **delays[4] = {&inputDelayBox1, &inputDelayBox2, &inputDelayBox3, &inputDelayBox4};
    for (int i = 0; i < 4; ++i)
        *delays[i] = addCheckBox(this, QStringLiteral("CB_delay%1").arg(i + 1), QString(), {0, 103, 16, 18}, false);

    const struct {
        QCheckBox **box;
        const char *name;
        const char *caption;
        int x;
        int y;
        bool ticked;
    } options[] = {
        {&smsOnArmingBox, "CheckBox_SMS_in", "Отправлять SMS при постановке", 8, 124, true},
        {&smsOnDisarmingBox, "CheckBox_SMS_out", "Отправлять SMS при снятии", 8, 142, true},
        {&soundOnArmingBox, "CheckBox_Audio", "Звуковой сигнал при постановке/снятии", 8, 160, false},
        {&watchSupplyBox, "CB_Ctrl_Volt", "Контроль напряжения питания", 8, 178, true},
        {&externalUpsBox, "CB_vnesh_IBP", "Внешний ИБП", 24, 196, false},
        {&timeInSmsBox, "CB_Time_SMS", "Добавить время в SMS сообщение", 8, 214, true},
        {&callAudioBox, "CB_mic_dinam", "Включить микрофон и динамик", 16, 250, true},
        {&callStateSmsBox, "CB_sms_sost", "Выслать SMS состояния", 16, 268, true},
    };
    addLabel(this, QStringLiteral("Label_call"), QStringLiteral("Действие при входящем звонке"), {8, 234, 240, 16});
    for (const auto &o : options) {
        *o.box = addCheckBox(this, QLatin1String(o.name), QString::fromUtf8(o.caption), {o.x, o.y, 248 - o.x, 18},
                             o.ticked);
    }

    addLabel(this, QStringLiteral("Label_on_output1"), QStringLiteral("При постановке на"), {8, 288, 110, 15});
    addLabel(this, QStringLiteral("Label_on_output2"), QStringLiteral("охрану включить"), {8, 302, 110, 15});
    armedOutputList = addList(this, QStringLiteral("CB_on_output_in"),
                              {QStringLiteral("Не задействовать"), QStringLiteral("Реле1"), QStringLiteral("Реле2"),
                               QStringLiteral("Выход1(ОК1)"), QStringLiteral("Выход2(ОК2)")},
                              {120, 292, 128, 20}, 0);

    addLabel(this, QStringLiteral("Label_alarm"), QStringLiteral("При тревоге :"), {8, 322, 80, 16});
    alarmSmsBox = addCheckBox(this, QStringLiteral("CB_Alarm_SMS"), QStringLiteral("SMS"), {92, 321, 60, 18}, true);
    alarmCallBox = addCheckBox(this, QStringLiteral("CB_Alarm_Ring"), QStringLiteral("Дозвон"), {156, 321, 90, 18},
                                true);

    armedStateOutputGroup = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("Выход состояния охраны"),
                                 {QStringLiteral("Светодиод(LED)"), QStringLiteral("Внешн. извещатель")}, 2, this);
    armedStateOutputGroup->setGeometry(4, 340, 248, 40);
    armedStateOutputGroup->setItemIndex(-1);

    // The message language has a single entry; only the configuration file
    // reads and writes it, and the window never shows it.
    messageLanguageGroup = new RadioGroup(QStringLiteral("RG_Lang"), QStringLiteral("Язык сообщений"), {QStringLiteral("Русский")},
                             1, this);
    messageLanguageGroup->setGeometry(150, 4, 100, 40);
    messageLanguageGroup->setItemIndex(0);
    messageLanguageGroup->setVisible(false);
    messageLanguageGroup->setEnabled(false);

    connect(armingDelayBox, &SpinEdit::textChanged, this, [this] { delayChange(armingDelayBox); });
    connect(disarmingDelayBox, &SpinEdit::textChanged, this, [this] { delayChange(disarmingDelayBox); });
    connect(watchSupplyBox, &QCheckBox::toggled, this, [this] { applySupplyWatchRule(); });
}

void ArmingPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    alignDelayBoxes();
}

void ArmingPanel::alignDelayBoxes()
{
    // The heading's text ends inside the panel, with room for half a box
    // after its last digit; it moves left when its font or language makes
    // it wider than its designed place (the row is free on its left).
    constexpr int kBoxWidth = 16;
    QLabel *heading = delayHeading_;
    const QFontMetrics fm(heading->font());
    const QString text = heading->text();
    const int textWidth = fm.horizontalAdvance(text);
    const int inner = contentsRect().right() - kBoxWidth / 2;
    const int x = qMax(contentsRect().left() + 4, qMin(128, inner - textWidth));
    heading->setGeometry(x, heading->y(), qMax(heading->width(), qMin(textWidth, inner - x) + 1), heading->height());

    // Each box stands under its digit: the four digits after the colon.
    const QList<QCheckBox *> boxes = delayBoxes();
    qsizetype from = text.indexOf(QLatin1Char(':')) + 1;
    for (int i = 0; i < boxes.size(); ++i) {
        const qsizetype at = text.indexOf(QLatin1Char('1' + i), from);
        if (at < 0)
            break;
        from = at + 1;
        const int digitX = x + fm.horizontalAdvance(text.left(at)) + fm.horizontalAdvance(text[at]) / 2;
        const int boxX = qMin(digitX - kBoxWidth / 2 + 1, contentsRect().right() + 1 - kBoxWidth);
        boxes[i]->move(boxX, boxes[i]->y());
    }
}

void ArmingPanel::delayChange(SpinEdit *box)
{
    hook_->ran(box->objectName() + QStringLiteral("Change"));
    if (box->text().isEmpty())
        box->setText(QStringLiteral("0"));
}

void ArmingPanel::applySupplyWatchRule()
{
    hook_->ran(QStringLiteral("CB_Ctrl_VoltClick"));
    externalUpsBox->setEnabled(watchSupplyBox->isChecked());
}

} // namespace zarven
