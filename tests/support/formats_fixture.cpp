#include "formats_fixture.h"

#include "config_file/config_files.h"

#include <QTimer>

namespace zarven::test {

QString ScriptedFileDialogs::saveFileName()
{
    ++saveAsked;
    return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
}

QString ScriptedFileDialogs::openFileName()
{
    ++openAsked;
    return openNames.isEmpty() ? QString() : openNames.takeFirst();
}

FormatsWindow::FormatsWindow()
{
    AppOptions options;
    options.includeSystemPorts = false;
    options.workDir = dir.path();
    form_ = std::make_unique<MainWindow>(options, boxes);
    form_->clockTimer->stop();
    auto dialogs = std::make_unique<ScriptedFileDialogs>();
    dialogs_ = dialogs.get();
    form_->configFiles->setFileDialogs(std::move(dialogs));
}

FormatsWindow::~FormatsWindow() = default;

ControlAccess &FormatsWindow::controls()
{
    return form_->configFiles->controls();
}

QString FormatsWindow::path(const QString &name) const
{
    return form_->shared.programFile(name);
}

void applyRichState(ControlAccess &c)
{
    auto set = [&c](const char *name, const QString &text) { c.setText(QLatin1String(name), text); };
    auto tick = [&c](const char *name, bool on) { c.setChecked(QLatin1String(name), on); };
    auto select = [&c](const char *name, int entry) { c.setIndex(QLatin1String(name), entry); };

    tick("CheckBox4", false);
    set("Edit_Date", QStringLiteral("24.12.25"));
    set("Edit_time", QStringLiteral("9:05:07"));

    // Input 1: the record example: "Нормально замкнутый НЗ", no 24-hour
    // control, relay 2 for 2:30, the siren always on, output 2 off, relay 1
    // for one second.
    tick("CheckBox_in1", true);
    set("Edit1", QStringLiteral("Дверь"));
    select("CBox_IN1", 2);
    tick("CB_ctrl_24_1", false);
    tick("RG_OUT11", true);
    set("Edit_OUT11m", QStringLiteral("2"));
    set("Edit_OUT11s", QStringLiteral("30"));
    tick("RG_OUT1S", true);
    tick("CheckBox11S", true);
    tick("RG_OUT12", false);
    tick("RG_OUT13", true);
    set("Edit_OUT13m", QStringLiteral("0"));
    set("Edit_OUT13s", QStringLiteral("1"));

    // Input 2: the open-contact type, 24-hour control, the longest time on
    // the siren and a time of 2560 + 10 seconds (bytes 0A 0A) on relay 1.
    tick("CheckBox_in2", true);
    set("Edit2", QStringLiteral("Окно кухни"));
    select("CBox_IN2", 1);
    tick("CB_ctrl_24_2", true);
    tick("RG_OUT2S", true);
    set("Edit_OUT2Sm", QStringLiteral("1090"));
    set("Edit_OUT2Ss", QStringLiteral("59"));
    tick("RG_OUT23", true);
    set("Edit_OUT23m", QStringLiteral("42"));
    set("Edit_OUT23s", QStringLiteral("50"));

    // Input 3 inactive, its message kept in the box only.
    tick("CheckBox_in3", false);
    set("Edit3", QStringLiteral("скрыто"));

    // Input 4: the external level type, outputs not used.
    tick("CheckBox_in4", true);
    set("Edit4", QStringLiteral("Подвал"));
    select("CBox_IN4", 0);
    tick("RG_OUT41", true);
    tick("CheckBox_41", false);

    tick("CheckBox_td1", true);
    set("SE_min_td1", QStringLiteral("-55"));
    set("SE_max_td1", QStringLiteral("125"));
    tick("CheckBox_td11", true);
    set("SE_Min_td11", QStringLiteral("18"));
    set("SE_max_td11", QStringLiteral("22"));
    tick("CheckBox_td1_auto", true);
    select("CB_td1_out", 2);
    tick("CheckBox_td2", false);

    set("ME_tel1", QStringLiteral("+79161234567"));
    set("ME_tel2", QStringLiteral("+12345678901234"));
    set("ME_tel3", QStringLiteral("+"));
    set("ME_tel4", QStringLiteral("+7"));
    set("ME_tel5", QStringLiteral("+380441234567"));

    select("CBox_INPUT", 1);
    tick("CheckBox_SMS_in", true);
    tick("CheckBox_SMS_out", false);
    tick("CheckBox_Audio", true);
    tick("CB_Ctrl_Volt", true);
    tick("CB_vnesh_IBP", true);
    tick("CB_Time_SMS", false);
    tick("CB_mic_dinam", true);
    tick("CB_sms_sost", false);
    select("CB_on_output_in", 3);
    tick("CB_Alarm_SMS", true);
    tick("CB_Alarm_Ring", false);
    select("RadioGroup1", 1);
    tick("CheckBox_SMS_All", true);

    set("SE_inp", QStringLiteral("30"));
    set("SE_out", QStringLiteral("250"));
    tick("CB_delay1", true);
    tick("CB_delay2", false);
    tick("CB_delay3", true);
    tick("CB_delay4", true);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

} // namespace zarven::test
