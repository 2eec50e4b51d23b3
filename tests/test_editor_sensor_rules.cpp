// The temperature sensor rules and the general option rules: activation,
// keeping, automatic regulation, the 0 °C correction, the date-time mode,
// supply voltage control and the delay boxes.

#include "editor_fixture.h"

#include <QtTest>

using namespace zarven;
using namespace zarven::test;
using namespace zarven::palette;

namespace {

const QStringList kTemperatureBoxes = {
    "SE_min_td1", "SE_min_td2", "SE_Min_td11", "SE_Min_td21", "SE_max_td1", "SE_max_td2", "SE_max_td11", "SE_max_td21",
};

} // namespace

class EditorSensorRulesTest : public QObject {
    Q_OBJECT
private slots:
    void activationSetsTheSensorsLook()
    {
        EditorFixture f;
        SensorPanel *s = f.sensor(1);
        s->activeBox->setChecked(true);
        QCOMPARE(background(s->activeBox), clGreen);
        QCOMPARE(background(s), clMoneyGreen);
        for (SpinEdit *t : {s->minEdit, s->maxEdit}) {
            QVERIFY(ownEnabled(t));
            QCOMPARE(background(t), clWindow);
        }
        QVERIFY(ownEnabled(s->keepingBox));
        QCOMPARE(background(s->keepingBox), clGray);
        QVERIFY(!ownEnabled(s->keepingPanel));
        QVERIFY(!ownEnabled(s->economyEdit) && !ownEnabled(s->comfortEdit) && !ownEnabled(s->autoBox));

        s->activeBox->setChecked(false);
        QCOMPARE(background(s->activeBox), clRed);
        QCOMPARE(background(s), clMedGray);
        for (SpinEdit *t : {s->minEdit, s->maxEdit, s->economyEdit, s->comfortEdit}) {
            QVERIFY(!ownEnabled(t));
            QCOMPARE(background(t), clActiveBorder);
        }
        QVERIFY(!ownEnabled(s->keepingBox) && !ownEnabled(s->autoBox) && !ownEnabled(s->keepingPanel));
        QCOMPARE(background(s->keepingPanel), clMedGray);
    }

    void keepingAndAutomaticRegulationOpenTheComfortBox()
    {
        EditorFixture f;
        SensorPanel *s = f.sensor(1);
        s->activeBox->setChecked(true);
        s->keepingBox->setChecked(true);
        QCOMPARE(background(s->keepingBox), clOlive);
        QCOMPARE(captionColor(s->keepingBox), clYellow);
        QVERIFY(ownEnabled(s->keepingPanel));
        QCOMPARE(background(s->keepingPanel), clMoneyGreen);
        QVERIFY(ownEnabled(s->economyEdit) && ownEnabled(s->autoBox) && ownEnabled(s->outputList));
        QVERIFY(!ownEnabled(s->comfortEdit));
        QCOMPARE(background(s->comfortEdit), clWindow);

        s->autoBox->setChecked(true);
        QVERIFY(ownEnabled(s->comfortEdit));
        QCOMPARE(background(s->autoBox), clGreen);
        QCOMPARE(captionColor(s->autoBox), clYellow);

        f.ran.clear();
        s->keepingBox->setChecked(false);
        QVERIFY(!s->autoBox->isChecked());
        QCOMPARE(f.ran, (QStringList{"CheckBox_td11Click", "CheckBox_td1_autoClick"}));
        QVERIFY(!ownEnabled(s->comfortEdit) && !ownEnabled(s->economyEdit) && !ownEnabled(s->autoBox));
        QVERIFY(!ownEnabled(s->keepingPanel) && !ownEnabled(s->outputList));
        QCOMPARE(background(s->outputList), clActiveBorder);
        QCOMPARE(background(s->keepingBox), clGray);
        QCOMPARE(captionColor(s->keepingBox), clBlack);
        QCOMPARE(background(s->autoBox), clGray);
        QCOMPARE(captionColor(s->autoBox), clBlack);
    }

    void deactivatingAndReactivatingSensor2KeepsEveryValue()
    {
        EditorFixture f;
        SensorPanel *s = f.sensor(2);
        s->activeBox->setChecked(true);
        s->minEdit->setText(QStringLiteral("-20"));
        s->maxEdit->setText(QStringLiteral("45"));
        s->keepingBox->setChecked(true);
        s->autoBox->setChecked(true);
        s->economyEdit->setText(QStringLiteral("16"));
        s->comfortEdit->setText(QStringLiteral("22"));
        s->outputList->setCurrentIndex(3);
        auto values = [s] {
            return QStringList{s->minEdit->text(), s->maxEdit->text(), s->economyEdit->text(), s->comfortEdit->text(),
                               QString::number(s->keepingBox->isChecked()), QString::number(s->autoBox->isChecked()),
                               QString::number(s->outputList->currentIndex())};
        };
        const QStringList before = values();
        s->activeBox->setChecked(false);
        QCOMPARE(values(), before);
        s->activeBox->setChecked(true);
        QCOMPARE(values(), before);
        QVERIFY(ownEnabled(s->comfortEdit) && ownEnabled(s->keepingPanel));
        QCOMPARE(background(s->keepingBox), clOlive);
    }

    void temperatureOfZeroSetByCodeBecomesOne_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("shown");
        for (const QString &b : kTemperatureBoxes)
            QTest::addRow("%s 0", qPrintable(b)) << b << "0" << "1";
        QTest::newRow("00") << "SE_min_td1" << "00" << "1";
        QTest::newRow("-0") << "SE_max_td21" << "-0" << "1";
        QTest::newRow("+0") << "SE_Min_td11" << "+0" << "1";
        QTest::newRow("sign alone is kept") << "SE_max_td2" << "-" << "-";
        QTest::newRow("not a number is kept") << "SE_min_td2" << "abc" << "abc";
        QTest::newRow("other numbers are kept") << "SE_min_td2" << "-1" << "-1";
    }

    void temperatureOfZeroSetByCodeBecomesOne()
    {
        QFETCH(QString, box);
        QFETCH(QString, set);
        QFETCH(QString, shown);
        EditorFixture f;
        f.panels->setText(box, QStringLiteral("5"));
        f.ran.clear();
        f.panels->setText(box, set);
        QCOMPARE(f.panels->text(box), shown);
        // Once for the text set and, when it was 0, once for the 1.
        QCOMPARE(f.runs(box + QStringLiteral("Change")), shown == set ? 1 : 2);
        QCOMPARE(f.ran.size(), f.runs(box + QStringLiteral("Change")));
    }

    void temperatureOfZeroFromTypingOrArrowBecomesOne()
    {
        EditorFixture f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.host));
        f.box(QStringLiteral("CheckBox_td2"))->setChecked(true);
        SpinEdit *low = f.spin(QStringLiteral("SE_min_td2"));
        low->setFocus(Qt::TabFocusReason);
        QVERIFY(low->hasFocus());

        QTest::keyClick(low, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(low, QStringLiteral("0"));
        QCOMPARE(low->text(), QStringLiteral("1"));

        low->setText(QStringLiteral("2"));
        QTest::keyClick(low, Qt::Key_Down);
        QCOMPARE(low->text(), QStringLiteral("1"));
        QTest::keyClick(low, Qt::Key_Down);
        QCOMPARE(low->text(), QStringLiteral("-1"));
        QTest::keyClick(low, Qt::Key_Up);
        QCOMPARE(low->text(), QStringLiteral("1"));

        QTest::keyClick(low, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(low, QStringLiteral("-"));
        QCOMPARE(low->text(), QStringLiteral("-"));
        QTest::keyClick(low, Qt::Key_Tab);
        QVERIFY(!low->hasFocus());
        QCOMPARE(low->text(), QStringLiteral("-"));
    }

    void dateTimeModeSwitchesBetweenClockAndHand()
    {
        EditorFixture f;
        PhonePanel *p = f.panels->phonePanel();
        p->today = [] { return QDate(2025, 12, 8); };
        p->dateEdit->setText(QStringLiteral("01.01.20"));
        p->timeEdit->setText(QStringLiteral("10:00:00"));

        p->autoDateTimeBox->setChecked(false);
        QVERIFY(!p->dateEdit->isReadOnly() && !p->timeEdit->isReadOnly());
        QCOMPARE(background(p->dateEdit), clWindow);
        QCOMPARE(background(p->timeEdit), clWindow);
        QCOMPARE(p->dateEdit->text(), QStringLiteral("01.01.20"));
        f.panels->clockTick(QStringLiteral("12:34:56"));
        QCOMPARE(p->timeEdit->text(), QStringLiteral("10:00:00"));

        p->autoDateTimeBox->setChecked(true);
        QCOMPARE(p->dateEdit->text(), QStringLiteral("08.12.25"));
        QVERIFY(p->dateEdit->isReadOnly() && p->timeEdit->isReadOnly());
        QCOMPARE(background(p->dateEdit), clInfoBk);
        QCOMPARE(background(p->timeEdit), clInfoBk);
        f.panels->clockTick(QStringLiteral("12:34:57"));
        QCOMPARE(p->timeEdit->text(), QStringLiteral("12:34:57"));
        QCOMPARE(f.runs(QStringLiteral("CheckBox4Click")), 2);
        // Past midnight the date follows the clock, not only the time.
        p->today = [] { return QDate(2025, 12, 9); };
        f.panels->clockTick(QStringLiteral("0:00:01"));
        QCOMPARE(p->dateEdit->text() + u' ' + p->timeEdit->text(), QStringLiteral("09.12.25 0:00:01"));
    }

    void voltageControlGreysTheExternalSupplyOutKeepingItsTick()
    {
        EditorFixture f;
        QCheckBox *ups = f.box(QStringLiteral("CB_vnesh_IBP"));
        ups->setChecked(true);
        f.box(QStringLiteral("CB_Ctrl_Volt"))->setChecked(false);
        QVERIFY(!ownEnabled(ups));
        QVERIFY(ups->isChecked());
        f.box(QStringLiteral("CB_Ctrl_Volt"))->setChecked(true);
        QVERIFY(ownEnabled(ups));
        QCOMPARE(f.ran, (QStringList{"CB_Ctrl_VoltClick", "CB_Ctrl_VoltClick"}));
    }

    void emptiedDelayBoxShowsZeroAtOnce()
    {
        EditorFixture f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.host));
        SpinEdit *arming = f.spin(QStringLiteral("SE_inp"));
        arming->setText(QStringLiteral("12"));
        arming->setFocus(Qt::TabFocusReason);
        QTest::keyClick(arming, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(arming, Qt::Key_Backspace);
        QCOMPARE(arming->text(), QStringLiteral("0"));

        f.ran.clear();
        f.panels->setText(QStringLiteral("SE_out"), QString());
        QCOMPARE(f.panels->text(QStringLiteral("SE_out")), QStringLiteral("0"));
        // The box was "0" already: emptied, then "0" again.
        QCOMPARE(f.ran, (QStringList{"SE_outChange", "SE_outChange"}));
        f.panels->setText(QStringLiteral("SE_out"), QStringLiteral("0"));
        QCOMPARE(f.ran.size(), 2);
    }
};

QTEST_MAIN(EditorSensorRulesTest)
#include "test_editor_sensor_rules.moc"
