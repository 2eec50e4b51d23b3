// The input panels' rules: activation, use of outputs, output rows,
// "Вкл. всегда" and the minutes box, run by code and by the user.

#include "editor_fixture.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;
using namespace zarven::palette;

namespace {

void fillInput(EditorFixture &f, int input)
{
    f.edit(controlName("Edit", input))->setText(QStringLiteral("Окно кухни"));
    f.list(controlName("CBox_IN", input))->setCurrentIndex(2);
    f.box(controlName("CB_ctrl_24_", input))->setChecked(true);
    f.box(controlName("RG_OUT", input, "2"))->setChecked(true);
    f.spin(controlName("Edit_OUT", input, "2m"))->setText(QStringLiteral("12"));
    f.spin(controlName("Edit_OUT", input, "2s"))->setText(QStringLiteral("34"));
    f.box(controlName("RG_OUT", input, "S"))->setChecked(true);
    f.box(controlName("CheckBox", input, "1S"))->setChecked(true);
    f.box(controlName("RG_OUT", input, "1"))->setChecked(true);
    f.spin(controlName("Edit_OUT", input, "1m"))->setText(QStringLiteral("5"));
    f.spin(controlName("Edit_OUT", input, "1s"))->setText(QStringLiteral("7"));
}

QStringList inputValues(EditorFixture &f, int input)
{
    QStringList v{f.edit(controlName("Edit", input))->text(),
                  QString::number(f.list(controlName("CBox_IN", input))->currentIndex()),
                  QString::number(f.box(controlName("CB_ctrl_24_", input))->isChecked())};
    for (const char *o : {"1", "S", "2", "3"}) {
        const QString no = QString::number(input) + QLatin1String(o);
        v << QString::number(f.box(QStringLiteral("RG_OUT") + no)->isChecked())
          << QString::number(f.box(controlName("CheckBox", input, "1") + QLatin1String(o))->isChecked())
          << f.spin(QStringLiteral("Edit_OUT%1m").arg(no))->text() << f.spin(QStringLiteral("Edit_OUT%1s").arg(no))->text();
    }
    return v;
}

} // namespace

class EditorInputRulesTest : public QObject {
    Q_OBJECT
private slots:
    void activatingSelectsTheFirstTypeOnlyWhenNoneIsSelected()
    {
        EditorFixture f;
        f.edit(QStringLiteral("Edit2"))->setText(QStringLiteral("Дверь"));
        f.spin(QStringLiteral("Edit_OUT22m"))->setText(QStringLiteral("3"));
        f.box(QStringLiteral("CheckBox_in2"))->setChecked(true);
        QCOMPARE(f.list(QStringLiteral("CBox_IN2"))->currentIndex(), 0);
        QCOMPARE(f.list(QStringLiteral("CBox_IN2"))->currentText(), QStringLiteral("Внешний уровень 3-12В"));
        QCOMPARE(f.edit(QStringLiteral("Edit2"))->text(), QStringLiteral("Дверь"));
        QCOMPARE(f.spin(QStringLiteral("Edit_OUT22m"))->text(), QStringLiteral("3"));

        f.list(QStringLiteral("CBox_IN3"))->setCurrentIndex(2);
        f.box(QStringLiteral("CheckBox_in3"))->setChecked(true);
        QCOMPARE(f.list(QStringLiteral("CBox_IN3"))->currentIndex(), 2);
    }

    void activationAndDeactivationSetTheInputsLook()
    {
        EditorFixture f;
        InputPanel *in = f.input(3);
        in->activeBox->setChecked(true);
        QCOMPARE(background(in->activeBox), clGreen);
        QCOMPARE(background(in), clMoneyGreen);
        QCOMPARE(background(in->messageEdit), clWindow);
        QCOMPARE(background(in->typeList), clWindow);
        QVERIFY(ownEnabled(in->messageEdit) && ownEnabled(in->typeList) && ownEnabled(in->ctrl24Box));
        QVERIFY(in->useOutputsBox->isChecked() && ownEnabled(in->useOutputsBox));
        QCOMPARE(background(in->useOutputsBox), clOlive);
        QVERIFY(in->outputPanel->isEnabled());
        QCOMPARE(background(in->outputPanel), clMoneyGreen);
        for (const auto &r : in->rows)
            QVERIFY(ownEnabled(r.assign));

        in->activeBox->setChecked(false);
        QCOMPARE(background(in->activeBox), clRed);
        QCOMPARE(background(in), clMedGray);
        QCOMPARE(background(in->messageEdit), clActiveBorder);
        QCOMPARE(background(in->typeList), clActiveBorder);
        QVERIFY(!ownEnabled(in->messageEdit) && !ownEnabled(in->typeList) && !ownEnabled(in->ctrl24Box));
        QVERIFY(!in->useOutputsBox->isChecked() && !ownEnabled(in->useOutputsBox));
        QCOMPARE(background(in->useOutputsBox), clGray);
        QVERIFY(!ownEnabled(in->outputPanel));
        QCOMPARE(background(in->outputPanel), clMedGray);
        for (const auto &r : in->rows) {
            QVERIFY(!ownEnabled(r.assign));
            QVERIFY(!ownEnabled(r.alwaysOn));
            QVERIFY(!ownEnabled(r.minutes));
            QCOMPARE(background(r.minutes), clActiveBorder);
        }
    }

    void deactivatingAndReactivatingKeepsEveryValue()
    {
        EditorFixture f;
        fillInput(f, 1);
        const QStringList before = inputValues(f, 1);
        f.box(QStringLiteral("CheckBox_in1"))->setChecked(false);
        QCOMPARE(inputValues(f, 1), before);
        f.box(QStringLiteral("CheckBox_in1"))->setChecked(true);
        QCOMPARE(inputValues(f, 1), before);
        // The rows come back usable as they were: assigned rows with
        // editable times unless always on.
        QVERIFY(ownEnabled(f.spin(QStringLiteral("Edit_OUT12m"))));
        QVERIFY(!ownEnabled(f.spin(QStringLiteral("Edit_OUT1Sm"))));
        QCOMPARE(background(f.spin(QStringLiteral("Edit_OUT12m"))), clWindow);
    }

    void relay2StaysLockedWhileSensor1KeepsTemperatureUntilReactivated()
    {
        EditorFixture f;
        f.box(QStringLiteral("CheckBox_td11"))->setChecked(true);
        f.box(QStringLiteral("CheckBox_in3"))->setChecked(true);
        QVERIFY(!ownEnabled(f.box(QStringLiteral("RG_OUT31"))));
        QVERIFY(ownEnabled(f.box(QStringLiteral("RG_OUT3S"))));
        QVERIFY(ownEnabled(f.box(QStringLiteral("RG_OUT32"))));
        QVERIFY(ownEnabled(f.box(QStringLiteral("RG_OUT33"))));
        // Input 1 was activated before keeping was ticked: unaffected.
        QVERIFY(ownEnabled(f.box(QStringLiteral("RG_OUT11"))));

        f.box(QStringLiteral("CheckBox_td11"))->setChecked(false);
        QVERIFY(!ownEnabled(f.box(QStringLiteral("RG_OUT31"))));
        f.box(QStringLiteral("CheckBox_in3"))->setChecked(false);
        f.box(QStringLiteral("CheckBox_in3"))->setChecked(true);
        QVERIFY(ownEnabled(f.box(QStringLiteral("RG_OUT31"))));
    }

    void keepingOfSensor2DoesNotLockRelay2()
    {
        EditorFixture f;
        f.box(QStringLiteral("CheckBox_td21"))->setChecked(true);
        f.box(QStringLiteral("CheckBox_in4"))->setChecked(true);
        QVERIFY(ownEnabled(f.box(QStringLiteral("RG_OUT41"))));
    }

    void clearingTheRelay2AssignmentResetsItsTimesOnEveryInput_data()
    {
        QTest::addColumn<int>("input");
        for (int i = 1; i <= 4; ++i)
            QTest::addRow("input %d", i) << i;
    }

    void clearingTheRelay2AssignmentResetsItsTimesOnEveryInput()
    {
        QFETCH(int, input);
        EditorFixture f;
        f.box(controlName("CheckBox_in", input))->setChecked(true);
        for (const char *o : {"1", "2"}) {
            const QString no = QString::number(input) + QLatin1String(o);
            f.box(QStringLiteral("RG_OUT") + no)->setChecked(true);
            f.spin(QStringLiteral("Edit_OUT%1m").arg(no))->setText(QStringLiteral("9"));
            f.spin(QStringLiteral("Edit_OUT%1s").arg(no))->setText(QStringLiteral("30"));
            f.box(QStringLiteral("RG_OUT") + no)->setChecked(false);
        }
        QCOMPARE(f.spin(controlName("Edit_OUT", input, "1m"))->text(), QStringLiteral("0"));
        QCOMPARE(f.spin(controlName("Edit_OUT", input, "1s"))->text(), QStringLiteral("1"));
        // Output 2 keeps its times.
        QCOMPARE(f.spin(controlName("Edit_OUT", input, "2m"))->text(), QStringLiteral("9"));
        QCOMPARE(f.spin(controlName("Edit_OUT", input, "2s"))->text(), QStringLiteral("30"));
        QCOMPARE(background(f.spin(controlName("Edit_OUT", input, "2m"))), clActiveBorder);
        QVERIFY(!ownEnabled(f.spin(controlName("Edit_OUT", input, "2s"))));
    }

    void alwaysOnSurvivesClearingAndReTickingTheAssignment()
    {
        EditorFixture f;
        QCheckBox *assign = f.box(QStringLiteral("RG_OUT13"));
        QCheckBox *always = f.box(QStringLiteral("CheckBox113"));
        SpinEdit *minutes = f.spin(QStringLiteral("Edit_OUT13m"));
        SpinEdit *seconds = f.spin(QStringLiteral("Edit_OUT13s"));
        assign->setChecked(true);
        QVERIFY(ownEnabled(minutes) && ownEnabled(seconds) && ownEnabled(always));
        QCOMPARE(background(minutes), clWindow);
        always->setChecked(true);
        QVERIFY(!ownEnabled(minutes) && !ownEnabled(seconds));
        assign->setChecked(false);
        QVERIFY(always->isChecked());
        QVERIFY(!ownEnabled(always));
        assign->setChecked(true);
        QVERIFY(ownEnabled(always));
        QVERIFY(!ownEnabled(minutes) && !ownEnabled(seconds));
        always->setChecked(false);
        QVERIFY(ownEnabled(minutes) && ownEnabled(seconds));
    }

    void unassignedRowsEndWithUsableButGreyTimes()
    {
        // The use-outputs rule runs every row's always-on rule last, which
        // enables the times of unassigned rows as well; they stay grey.
        EditorFixture f;
        SpinEdit *minutes = f.spin(QStringLiteral("Edit_OUT12m"));
        QVERIFY(!f.box(QStringLiteral("RG_OUT12"))->isChecked());
        QVERIFY(ownEnabled(minutes));
        QCOMPARE(background(minutes), clActiveBorder);
    }

    void clearingUseOutputsDisablesEveryTimeBoxOnEveryInput_data()
    {
        clearingTheRelay2AssignmentResetsItsTimesOnEveryInput_data();
    }

    void clearingUseOutputsDisablesEveryTimeBoxOnEveryInput()
    {
        QFETCH(int, input);
        EditorFixture f;
        InputPanel *in = f.input(input);
        in->activeBox->setChecked(true);
        in->useOutputsBox->setChecked(false);
        QCOMPARE(background(in->useOutputsBox), clGray);
        QVERIFY(!ownEnabled(in->outputPanel));
        QCOMPARE(background(in->outputPanel), clMedGray);
        for (const auto &r : in->rows) {
            QVERIFY2(!ownEnabled(r.minutes), qPrintable(r.minutes->objectName()));
            QVERIFY2(!ownEnabled(r.seconds), qPrintable(r.seconds->objectName()));
            QVERIFY(!ownEnabled(r.assign));
            QVERIFY(!ownEnabled(r.alwaysOn));
        }
        in->useOutputsBox->setChecked(true);
        QVERIFY(ownEnabled(in->outputPanel));
        QCOMPARE(background(in->useOutputsBox), clOlive);
    }

    void activationRunsItsRulesOnceEachInOrder()
    {
        EditorFixture f;
        f.box(QStringLiteral("CheckBox_in2"))->setChecked(true);
        const QStringList useOutputs = {
            "CheckBox_21Click", "RG_OUT21Click",    "RG_OUT2SClick",    "RG_OUT22Click",   "RG_OUT23Click",
            "CheckBox211Click", "CheckBox21SClick", "CheckBox212Click", "CheckBox213Click",
        };
        // Ticking the use-outputs box runs its rule, and the input rule runs
        // it once more at its end.
        QCOMPARE(f.ran, QStringList{"CheckBox_in2Click"} + useOutputs + useOutputs);

        f.ran.clear();
        f.box(QStringLiteral("RG_OUT2S"))->setChecked(true);
        f.box(QStringLiteral("CheckBox_in2"))->setChecked(false);
        QCOMPARE(f.ran, (QStringList{"RG_OUT2SClick", "CheckBox21SClick", "CheckBox_in2Click", "CheckBox_21Click",
                                     "RG_OUT21Click", "RG_OUT2SClick", "CheckBox21SClick", "RG_OUT22Click",
                                     "RG_OUT23Click"}));
    }

    void checkBoxRulesRunOnlyForActualChangesFromCode()
    {
        EditorFixture f;
        f.box(QStringLiteral("CheckBox_in1"))->setChecked(true); // already ticked
        f.box(QStringLiteral("CheckBox_in4"))->setChecked(false);
        f.box(QStringLiteral("RG_OUT11"))->setChecked(false);
        f.box(QStringLiteral("CheckBox112"))->setChecked(false);
        QVERIFY(f.ran.isEmpty());

        f.panels->setChecked(QStringLiteral("CheckBox112"), true);
        f.panels->setChecked(QStringLiteral("CheckBox112"), true);
        QCOMPARE(f.ran, QStringList{"CheckBox112Click"});
        f.panels->setChecked(QStringLiteral("CheckBox112"), false);
        QCOMPARE(f.runs(QStringLiteral("CheckBox112Click")), 2);

        // A rule that runs while its box is hidden and disabled still runs
        // once per change: the use-outputs box of an inactive input.
        f.ran.clear();
        f.box(QStringLiteral("CheckBox_41"))->setChecked(true);
        f.box(QStringLiteral("CheckBox_41"))->setChecked(true);
        QCOMPARE(f.runs(QStringLiteral("CheckBox_41Click")), 1);
    }

    void listSelectionsAndTimeTextsFromCodeRunNoRule()
    {
        EditorFixture f;
        f.panels->setItemIndex(QStringLiteral("CBox_IN1"), 2);
        f.panels->setItemIndex(QStringLiteral("CBox_IN4"), -1);
        f.panels->setText(QStringLiteral("Edit_OUT11m"), QString());
        f.panels->setText(QStringLiteral("Edit_OUT11s"), QStringLiteral("33"));
        f.panels->setText(QStringLiteral("Edit3"), QStringLiteral("Окно"));
        QVERIFY(f.ran.isEmpty());
        QCOMPARE(f.panels->itemIndex(QStringLiteral("CBox_IN1")), 2);
        QCOMPARE(f.panels->text(QStringLiteral("Edit_OUT11m")), QString()); // the minutes rule waits for leaving
    }

    void usersClickRunsTheInputRuleOnce()
    {
        EditorFixture f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.host));
        QCheckBox *active = f.box(QStringLiteral("CheckBox_in2"));
        QTest::mouseClick(active, Qt::LeftButton, {}, QPoint(30, active->height() / 2));
        QVERIFY(active->isChecked());
        QCOMPARE(f.runs(QStringLiteral("CheckBox_in2Click")), 1);
        QCOMPARE(background(active), clGreen);

        QCheckBox *assign = f.box(QStringLiteral("RG_OUT2S"));
        QTest::mouseClick(assign, Qt::LeftButton, {}, QPoint(8, assign->height() / 2));
        QVERIFY(assign->isChecked());
        QCOMPARE(background(f.spin(QStringLiteral("Edit_OUT2Sm"))), clWindow);
    }

    void emptiedMinutesBoxShowsZeroOnLeavingButSecondsBoxStaysEmpty()
    {
        EditorFixture f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.host));
        f.box(QStringLiteral("RG_OUT11"))->setChecked(true);
        SpinEdit *minutes = f.spin(QStringLiteral("Edit_OUT11m"));
        SpinEdit *seconds = f.spin(QStringLiteral("Edit_OUT11s"));
        minutes->setText(QStringLiteral("15"));
        f.ran.clear();

        minutes->setFocus(Qt::TabFocusReason);
        QVERIFY(minutes->hasFocus());
        QTest::keyClick(minutes, Qt::Key_End);
        QTest::keyClick(minutes, Qt::Key_Backspace);
        QTest::keyClick(minutes, Qt::Key_Backspace);
        QCOMPARE(minutes->text(), QString());
        seconds->setFocus(Qt::TabFocusReason);
        QCOMPARE(minutes->text(), QStringLiteral("0"));
        QCOMPARE(f.ran, QStringList{"Edit_OUT11mExit"});

        QTest::keyClick(seconds, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(seconds, Qt::Key_Delete);
        QTest::keyClick(seconds, Qt::Key_Tab);
        QVERIFY(!seconds->hasFocus());
        QCOMPARE(seconds->text(), QString());

        // Typed minutes beyond the range take the bound on leaving.
        minutes->setFocus(Qt::TabFocusReason);
        QTest::keyClick(minutes, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(minutes, QStringLiteral("9999"));
        QCOMPARE(minutes->text(), QStringLiteral("999"));
        QTest::keyClick(minutes, Qt::Key_Up);
        QTest::keyClick(minutes, Qt::Key_Tab);
        QCOMPARE(minutes->text(), QStringLiteral("1000"));
    }
};

QTEST_MAIN(EditorInputRulesTest)
#include "test_editor_input_rules.moc"
