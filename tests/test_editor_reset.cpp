// The reset before the controller's settings are read: the value of every
// control afterwards, the boxes it leaves alone, and the rules it runs.

#include "core/strings.h"
#include "editor_fixture.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;
using namespace zarven::palette;

namespace {

const char *const kOutputs[4] = {"1", "2", "3", "S"};

// Everything the reset touches, set away from what it leaves.
void dirtyEverything(EditorFixture &f)
{
    SettingsPanels &p = *f.panels;
    for (int i = 1; i <= 4; ++i) {
        p.setChecked(controlName("CheckBox_in", i), true);
        p.setChecked(controlName("CB_ctrl_24_", i), true);
        p.setText(controlName("Edit", i), QStringLiteral("Сообщение %1").arg(i));
        p.setItemIndex(controlName("CBox_IN", i), 1);
        for (const char *o : kOutputs) {
            const QString no = QString::number(i) + QLatin1String(o);
            p.setChecked(QStringLiteral("RG_OUT") + no, true);
            p.setText(QStringLiteral("Edit_OUT%1m").arg(no), QStringLiteral("17"));
            p.setText(QStringLiteral("Edit_OUT%1s").arg(no), QStringLiteral("42"));
        }
    }
    p.setChecked(QStringLiteral("CheckBox111"), true);
    p.setChecked(QStringLiteral("CheckBox21S"), true);
    p.setChecked(QStringLiteral("CheckBox412"), true);
    for (int k = 1; k <= 5; ++k)
        p.setText(controlName("ME_tel", k), QStringLiteral("+7916000000%1").arg(k));
    p.setItemIndex(QStringLiteral("CBox_INPUT"), 0);
    for (const char *b : {"CheckBox_Audio", "CB_vnesh_IBP"})
        p.setChecked(QLatin1String(b), true);
    p.setItemIndex(QStringLiteral("CB_on_output_in"), 3);
    p.setItemIndex(QStringLiteral("RadioGroup1"), 1);
    for (int s = 1; s <= 2; ++s) {
        p.setChecked(controlName("CheckBox_td", s), true);
        p.setChecked(controlName("CheckBox_td", s, "1"), true);
        p.setChecked(controlName("CheckBox_td", s, "_auto"), true);
        p.setItemIndex(controlName("CB_td", s, "_out"), 2);
        p.setText(controlName("SE_min_td", s), QStringLiteral("-30"));
        p.setText(controlName("SE_max_td", s), QStringLiteral("30"));
        p.setText(controlName("SE_Min_td", s, "1"), QStringLiteral("18"));
        p.setText(controlName("SE_max_td", s, "1"), QStringLiteral("-7"));
    }
    p.setText(QStringLiteral("SE_inp"), QStringLiteral("30"));
    p.setText(QStringLiteral("SE_out"), QStringLiteral("60"));
}

} // namespace

class EditorResetTest : public QObject {
    Q_OBJECT
private slots:
    void resetGivesEveryControlItsClearedValue()
    {
        EditorFixture f;
        dirtyEverything(f);
        f.panels->cleanPanel();
        SettingsPanels &p = *f.panels;

        for (int i = 1; i <= 4; ++i) {
            QVERIFY(!p.isChecked(controlName("CheckBox_in", i)));
            QVERIFY(!p.isChecked(controlName("CB_ctrl_24_", i)));
            QCOMPARE(p.text(controlName("Edit", i)), QString());
            QCOMPARE(p.itemIndex(controlName("CBox_IN", i)), -1);
            for (const char *o : kOutputs) {
                const QString no = QString::number(i) + QLatin1String(o);
                QVERIFY(!p.isChecked(QStringLiteral("RG_OUT") + no));
                QVERIFY(!p.isChecked(controlName("CheckBox", i, "1") + QLatin1String(o)));
                QCOMPARE(p.text(QStringLiteral("Edit_OUT%1m").arg(no)), QStringLiteral("0"));
                QCOMPARE(p.text(QStringLiteral("Edit_OUT%1s").arg(no)), QStringLiteral("1"));
            }
            QCOMPARE(background(f.input(i)->activeBox), clRed);
            QCOMPARE(background(f.input(i)), clMedGray);
        }
        for (int k = 1; k <= 5; ++k) {
            QCOMPARE(p.text(controlName("ME_tel", k)), QStringLiteral("+              "));
            QCOMPARE(p.phoneEdit(controlName("ME_tel", k))->displayText(), QStringLiteral("+______________"));
            QCOMPARE(PhoneDigits(p.text(controlName("ME_tel", k))), QStringLiteral("7"));
        }
        QCOMPARE(p.text(QStringLiteral("Edit_Date")), QString());
        QCOMPARE(p.text(QStringLiteral("Edit_time")), QString());
        QCOMPARE(p.itemIndex(QStringLiteral("CBox_INPUT")), -1);
        for (const char *b : {"CheckBox_SMS_in", "CheckBox_SMS_out", "CheckBox_Audio", "CB_Ctrl_Volt", "CB_vnesh_IBP",
                              "CB_Time_SMS", "CB_mic_dinam", "CB_sms_sost", "CB_Alarm_SMS", "CB_Alarm_Ring"})
            QVERIFY2(!p.isChecked(QLatin1String(b)), b);
        QVERIFY(!ownEnabled(p.control(QStringLiteral("CB_vnesh_IBP"))));
        QCOMPARE(p.itemIndex(QStringLiteral("CB_on_output_in")), -1);
        QCOMPARE(p.itemIndex(QStringLiteral("RadioGroup1")), -1);
        for (int s = 1; s <= 2; ++s) {
            for (const char *b : {"", "1", "_auto"})
                QVERIFY(!p.isChecked(controlName("CheckBox_td", s, b)));
            for (const QString &t : {controlName("SE_min_td", s), controlName("SE_max_td", s),
                                     controlName("SE_Min_td", s, "1"), controlName("SE_max_td", s, "1")})
                QCOMPARE(p.text(t), QStringLiteral("1"));
            QCOMPARE(p.list(controlName("CB_td", s, "_out"))->currentText(), QStringLiteral("Реле1"));
            QCOMPARE(background(f.sensor(s)->activeBox), clRed);
            QVERIFY(!ownEnabled(f.sensor(s)->keepingPanel));
        }
        QCOMPARE(p.text(QStringLiteral("SE_inp")), QStringLiteral("0"));
        QCOMPARE(p.text(QStringLiteral("SE_out")), QStringLiteral("0"));
    }

    void resetLeavesItsUntouchedBoxesAsTheyAre()
    {
        EditorFixture f;
        SettingsPanels &p = *f.panels;
        p.setChecked(QStringLiteral("CheckBox_SMS_All"), true);
        p.setChecked(QStringLiteral("CheckBox4"), false);
        p.setChecked(QStringLiteral("CB_delay2"), true);
        p.setChecked(QStringLiteral("CB_delay4"), true);
        p.setItemIndex(QStringLiteral("RG_Lang"), -1);
        // Input 4 is inactive; a decoder may still have ticked its use of
        // outputs.
        p.setChecked(QStringLiteral("CheckBox_41"), true);
        p.cleanPanel();
        QVERIFY(p.isChecked(QStringLiteral("CheckBox_SMS_All")));
        QVERIFY(!p.isChecked(QStringLiteral("CheckBox4")));
        QVERIFY(!p.isChecked(QStringLiteral("CB_delay1")) && p.isChecked(QStringLiteral("CB_delay2")));
        QVERIFY(!p.isChecked(QStringLiteral("CB_delay3")) && p.isChecked(QStringLiteral("CB_delay4")));
        QCOMPARE(p.itemIndex(QStringLiteral("RG_Lang")), -1);
        QVERIFY(p.isChecked(QStringLiteral("CheckBox_41")));
        QVERIFY(!p.isChecked(QStringLiteral("CheckBox_11"))); // input 1 was active

        EditorFixture ticked;
        ticked.panels->setChecked(QStringLiteral("CB_delay1"), true);
        ticked.panels->cleanPanel();
        QVERIFY(ticked.panels->isChecked(QStringLiteral("CheckBox4")));
        QVERIFY(ticked.panels->isChecked(QStringLiteral("CB_delay1")));
        QVERIFY(!ticked.panels->isChecked(QStringLiteral("CheckBox_SMS_All")));
        QCOMPARE(ticked.panels->itemIndex(QStringLiteral("RG_Lang")), 0);
    }

    void resetOfTheStartingWindowRunsOnlyTheRulesOfWhatChanges()
    {
        EditorFixture f;
        f.panels->cleanPanel();
        QStringList expected = {"CheckBox_in1Click", "CheckBox_11Click", "RG_OUT11Click",
                                "RG_OUT1SClick",     "RG_OUT12Click",    "RG_OUT13Click",
                                "CB_Ctrl_VoltClick"};
        for (const char *t : {"SE_min_td1", "SE_min_td2", "SE_Min_td11", "SE_Min_td21", "SE_max_td1", "SE_max_td2",
                              "SE_max_td11", "SE_max_td21"})
            expected << QLatin1String(t) + QStringLiteral("Change") << QLatin1String(t) + QStringLiteral("Change");
        expected << "SE_inpChange" << "SE_inpChange" << "SE_outChange" << "SE_outChange";
        QCOMPARE(f.ran, expected);
    }

    void resetOfABusyWindowRunsEachRuleOncePerChangeInStepOrder()
    {
        EditorFixture f;
        dirtyEverything(f);
        f.ran.clear();
        f.panels->cleanPanel();

        for (int i = 1; i <= 4; ++i)
            QCOMPARE(f.runs(controlName("CheckBox_in", i, "Click")), 1);
        for (int s = 1; s <= 2; ++s) {
            QCOMPARE(f.runs(controlName("CheckBox_td", s, "Click")), 1);
            QCOMPARE(f.runs(controlName("CheckBox_td", s, "1Click")), 1);
            // Clearing keeping clears automatic regulation before the reset
            // comes to it.
            QCOMPARE(f.runs(controlName("CheckBox_td", s, "_autoClick")), 1);
        }
        QCOMPARE(f.runs(QStringLiteral("CB_Ctrl_VoltClick")), 1);
        QCOMPARE(f.runs(QStringLiteral("SE_min_td1Change")), 2);

        // Step 5 clears the assignments input by input, then step 8 the
        // always-on boxes output by output.
        const qsizetype step1End = f.ran.lastIndexOf(QStringLiteral("CheckBox_41Click"));
        const qsizetype step5 = f.ran.indexOf(QStringLiteral("RG_OUT11Click"), step1End);
        QVERIFY(step1End >= 0 && step5 > step1End);
        QStringList assignments;
        for (int i = 1; i <= 4; ++i) {
            for (const char *o : {"1", "2", "3", "S"})
                assignments << controlName("RG_OUT", i, o) + QStringLiteral("Click");
        }
        QCOMPARE(f.ran.mid(step5, 16), assignments);
        const QStringList alwaysOn = {"CheckBox111Click", "CheckBox412Click", "CheckBox21SClick"};
        QCOMPARE(f.ran.mid(step5 + 16, 3), alwaysOn);
        QCOMPARE(f.ran.at(step5 + 19), QStringLiteral("CB_Ctrl_VoltClick"));
    }
};

QTEST_MAIN(EditorResetTest)
#include "test_editor_reset.moc"
