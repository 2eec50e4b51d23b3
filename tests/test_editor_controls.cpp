// The control kinds of the settings panels: spin boxes whose text is the
// value, masked phone boxes, radio groups and the assignment box's caption.

#include "core/strings.h"
#include "editor/controls.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace zarven;

namespace {

// A small window with two spin boxes, so that Tab moves the focus from one
// to the other as a user's Tab would.
struct SpinWindow {
    SpinWindow(int minValue, int maxValue, int increment, int maxLength, int value)
    {
        auto *layout = new QVBoxLayout(&window);
        box = new SpinEdit(minValue, maxValue, increment, maxLength, &window);
        other = new SpinEdit(0, 10, 1, 2, &window);
        box->setValue(value);
        layout->addWidget(box);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
    }

    bool focus()
    {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        box->setFocus(Qt::TabFocusReason);
        return box->hasFocus();
    }

    // Replaces the whole text by typing, as a user who selected it would.
    void type(const QString &keys)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, keys);
    }

    void leave() { QTest::keyClick(box, Qt::Key_Tab); }

    QWidget window;
    SpinEdit *box = nullptr;
    SpinEdit *other = nullptr;
};

} // namespace

class EditorControlsTest : public QObject {
    Q_OBJECT
private slots:
    void arrowKeysStepByIncrementAndStopAtBounds()
    {
        SpinWindow minutes(0, 1090, 1, 3, 1089);
        QVERIFY(minutes.focus());
        QTest::keyClick(minutes.box, Qt::Key_Up);
        QCOMPARE(minutes.box->text(), QStringLiteral("1090"));
        QTest::keyClick(minutes.box, Qt::Key_Up);
        QCOMPARE(minutes.box->text(), QStringLiteral("1090"));

        SpinWindow seconds(0, 59, 2, 2, 58);
        QVERIFY(seconds.focus());
        QTest::keyClick(seconds.box, Qt::Key_Up);
        QCOMPARE(seconds.box->text(), QStringLiteral("59")); // 60 would pass the bound
        seconds.box->setValue(1);
        QTest::keyClick(seconds.box, Qt::Key_Down);
        QCOMPARE(seconds.box->text(), QStringLiteral("0"));
        QTest::keyClick(seconds.box, Qt::Key_Down);
        QCOMPARE(seconds.box->text(), QStringLiteral("0"));
        QTest::keyClick(seconds.box, Qt::Key_Up);
        QCOMPARE(seconds.box->text(), QStringLiteral("2"));
    }

    void arrowFromTextThatIsNotANumberStartsAtMinValue()
    {
        SpinWindow w(-55, 125, 2, 3, 1);
        QVERIFY(w.focus());
        w.type(QStringLiteral("-"));
        QTest::keyClick(w.box, Qt::Key_Up);
        QCOMPARE(w.box->text(), QStringLiteral("-53"));
    }

    void typedNumberOutsideRangeTakesNearerBoundOnLeaving_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("seconds 75") << 0 << 59 << 2 << "75" << "59";
        QTest::newRow("seconds -5") << 0 << 59 << 2 << "-5" << "0";
        QTest::newRow("temperature -99") << -55 << 125 << 3 << "-99" << "-55";
        QTest::newRow("temperature 300") << -55 << 125 << 3 << "300" << "125";
        QTest::newRow("delay 251") << 0 << 250 << 3 << "251" << "250";
        QTest::newRow("in range stays as typed") << 0 << 250 << 3 << "+12" << "+12";
    }

    void typedNumberOutsideRangeTakesNearerBoundOnLeaving()
    {
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(int, maxLength);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        SpinWindow w(minValue, maxValue, 1, maxLength, minValue);
        QVERIFY(w.focus());
        w.type(typed);
        QCOMPARE(w.box->text(), typed); // no correction while typing
        w.leave();
        QVERIFY(w.other->hasFocus());
        QCOMPARE(w.box->text(), shown);
    }

    void typingStopsAtMaxLengthAndTakesOnlyDigitsAndSigns()
    {
        SpinWindow w(0, 1090, 1, 3, 0);
        QVERIFY(w.focus());
        w.type(QStringLiteral("12345"));
        QCOMPARE(w.box->text(), QStringLiteral("123"));
        w.type(QStringLiteral("a1b-c+"));
        QCOMPARE(w.box->text(), QStringLiteral("1-+"));
    }

    void textThatIsNotANumberStaysOnLeavingAndReadsAsMinValue()
    {
        SpinWindow w(-55, 125, 2, 3, 1);
        QVERIFY(w.focus());
        w.type(QStringLiteral("-"));
        w.leave();
        QCOMPARE(w.box->text(), QStringLiteral("-"));
        QCOMPARE(w.box->value(), -55);
    }

    void exitedFiresWhenTheUserLeavesForAnotherControl()
    {
        SpinWindow w(0, 59, 2, 2, 1);
        QVERIFY(w.focus());
        QSignalSpy exited(w.box, &SpinEdit::exited);
        w.leave();
        QCOMPARE(exited.count(), 1);
    }

    void focusGoingToAnotherWindowLeavesTheTextAlone()
    {
        // A message box opening over the window takes the focus away; that
        // is not the user leaving the box.
        SpinWindow w(0, 59, 2, 2, 1);
        QVERIFY(w.focus());
        w.type(QStringLiteral("75"));
        QSignalSpy exited(w.box, &SpinEdit::exited);
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(w.box, &away);
        QCOMPARE(w.box->text(), QStringLiteral("75"));
        QCOMPARE(exited.count(), 0);
    }

    void codeSetsTextsLongerThanMaxLengthWhole()
    {
        // 65499 seconds are 1091 minutes: four characters in a box that
        // takes three by typing.
        SpinEdit minutes(0, 1090, 1, 3);
        minutes.setText(QStringLiteral("1091"));
        QCOMPARE(minutes.text(), QStringLiteral("1091"));
        QCOMPARE(minutes.value(), 1091);
    }

    void setValueShowsTheValueClampedToTheRange()
    {
        SpinEdit seconds(0, 59, 2, 2);
        seconds.setValue(75);
        QCOMPARE(seconds.text(), QStringLiteral("59"));
        seconds.setValue(-3);
        QCOMPARE(seconds.text(), QStringLiteral("0"));
        seconds.setText(QStringLiteral("abc"));
        QCOMPARE(seconds.text(), QStringLiteral("abc")); // text is taken as it is
    }

    void textChangedFiresForEveryActualChangeOnly()
    {
        SpinEdit box(0, 250, 2, 3);
        box.setText(QStringLiteral("4"));
        QSignalSpy changed(&box, &SpinEdit::textChanged);
        box.setText(QStringLiteral("4"));
        box.setValue(4);
        QCOMPARE(changed.count(), 0);
        box.setText(QString());
        box.setValue(6);
        box.stepBy(1);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.last().first().toString(), QStringLiteral("8"));
    }

    void phoneBoxKeepsThePlusAndEveryPlace_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("digits");
        const QString blanks = QStringLiteral("              "); // 14
        QTest::newRow("designed") << "+7             " << "+7" + blanks.left(13) << "7";
        QTest::newRow("empty") << "+" << "+" + blanks << "7";
        QTest::newRow("nothing") << "" << "+" + blanks << "7";
        QTest::newRow("eleven digits") << "+79161234567" << "+79161234567" + blanks.left(3) << "79161234567";
        QTest::newRow("fourteen digits") << "+12345678901234" << "+12345678901234" << "12345678901234";
        QTest::newRow("longer is cut") << "+1234567890123456" << "+12345678901234" << "12345678901234";
        QTest::newRow("without plus") << "333" << "+333" + blanks.left(11) << "333";
        QTest::newRow("gap set by code, digits in order") << "+12 45" << "+12 45" + blanks.left(9) << "1245";
        QTest::newRow("letters are blanks") << "+1a2" << "+1 2" + blanks.left(11) << "12";
        QTest::newRow("old reset text") << "8-   -   -  -  " << "+8" + blanks.left(13) << "8";
    }

    void phoneBoxKeepsThePlusAndEveryPlace()
    {
        QFETCH(QString, set);
        QFETCH(QString, text);
        QFETCH(QString, digits);
        PhoneEdit box;
        box.setText(set);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.text().size(), 15);
        QCOMPARE(PhoneDigits(box.text()), digits);
    }

    void phoneBoxTakesTypedDigitsOnly()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *box = new PhoneEdit(&window);
        layout->addWidget(box);
        box->setText(QStringLiteral("+"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClicks(box, QStringLiteral("7x91612345678901234"));
        QCOMPARE(box->text(), QStringLiteral("+79161234567890"));
        QCOMPARE(box->displayText(), QStringLiteral("+79161234567890"));
    }

    void radioGroupSelectsOneEntryOrNone()
    {
        RadioGroup group(QStringLiteral("RadioGroup1"), QStringLiteral("Выход состояния охраны"),
                         {QStringLiteral("Светодиод(LED)"), QStringLiteral("Внешн. извещатель")}, 2);
        QCOMPARE(group.itemIndex(), -1);
        QCOMPARE(group.count(), 2);
        group.setItemIndex(1);
        QCOMPARE(group.itemIndex(), 1);
        group.setItemIndex(0);
        QCOMPARE(group.itemIndex(), 0);
        QVERIFY(!group.button(1)->isChecked());
        group.setItemIndex(-1);
        QCOMPARE(group.itemIndex(), -1);
        // The user still picks exactly one.
        group.show();
        QTest::mouseClick(group.button(1), Qt::LeftButton);
        QCOMPARE(group.itemIndex(), 1);
        QTest::mouseClick(group.button(0), Qt::LeftButton);
        QCOMPARE(group.itemIndex(), 0);
        QCOMPARE(group.button(0)->objectName(), QStringLiteral("RadioGroup1_item0"));
    }

    void assignmentCaptionIsOneTextDrawnAroundTheMinutesBox()
    {
        AssignmentBox relay(QStringLiteral("Реле 2                мин"));
        QCOMPARE(relay.text(), QStringLiteral("Реле 2                мин"));
        QCOMPARE(relay.head(), QStringLiteral("Реле 2"));
        QCOMPARE(relay.tail(), QStringLiteral("мин"));
        AssignmentBox siren(QStringLiteral("Выход 1(Сирена) мин"));
        QCOMPARE(siren.head(), QStringLiteral("Выход 1(Сирена)"));
        QCOMPARE(siren.tail(), QStringLiteral("мин"));
        AssignmentBox plain(QStringLiteral("Output"));
        QCOMPARE(plain.head(), QStringLiteral("Output"));
        QCOMPARE(plain.tail(), QString());
    }
};

QTEST_MAIN(EditorControlsTest)
#include "test_editor_controls.moc"
