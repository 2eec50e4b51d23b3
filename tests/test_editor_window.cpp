// The settings panels inside the real main window: their places, every
// control of the catalogue with its kind and designed value, the state the
// start-up steps leave, and the clock writing the time box.

#include "app/main_window.h"
#include "core/message_boxes.h"
#include "editor_fixture.h"

#include <QDate>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace zarven;
using namespace zarven::test;
using namespace zarven::palette;

namespace {

struct Window {
    Window()
    {
        options.includeSystemPorts = false;
        options.workDir = dir.path();
        form = std::make_unique<MainWindow>(options, boxes);
        panels = form->findChild<SettingsPanels *>();
    }

    QTemporaryDir dir;
    AppOptions options;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<MainWindow> form;
    SettingsPanels *panels = nullptr;
};

void verifyInactiveInput(InputPanel *in)
{
    QCOMPARE(background(in->activeBox), clRed);
    QCOMPARE(background(in), clMedGray);
    QVERIFY(!ownEnabled(in->messageEdit) && !ownEnabled(in->typeList) && !ownEnabled(in->ctrl24Box));
    QCOMPARE(background(in->messageEdit), clActiveBorder);
    QVERIFY(!in->useOutputsBox->isChecked());
    QVERIFY(!ownEnabled(in->outputPanel));
    QCOMPARE(background(in->outputPanel), clMedGray);
    QCOMPARE(in->typeList->currentIndex(), -1);
}

} // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpShowsEveryInputAndSensorInItsState()
    {
        Window w;
        QVERIFY(w.panels);
        QVERIFY(w.boxes.shown().isEmpty());

        InputPanel *in1 = w.panels->inputPanel(1);
        QVERIFY(in1->activeBox->isChecked());
        QCOMPARE(background(in1->activeBox), clGreen);
        QCOMPARE(background(in1), clMoneyGreen);
        QVERIFY(ownEnabled(in1->messageEdit) && ownEnabled(in1->typeList) && ownEnabled(in1->ctrl24Box));
        QCOMPARE(in1->typeList->currentIndex(), 0);
        QVERIFY(in1->useOutputsBox->isChecked());
        QCOMPARE(background(in1->useOutputsBox), clOlive);
        QVERIFY(in1->outputPanel->isEnabled());
        QCOMPARE(background(in1->outputPanel), clMoneyGreen);
        for (const auto &r : in1->rows) {
            QVERIFY(ownEnabled(r.assign) && !r.assign->isChecked());
            QVERIFY(!ownEnabled(r.alwaysOn));
            QCOMPARE(background(r.minutes), clActiveBorder);
        }
        for (int i = 2; i <= 4; ++i)
            verifyInactiveInput(w.panels->inputPanel(i));

        for (int s = 1; s <= 2; ++s) {
            SensorPanel *p = w.panels->sensorPanel(s);
            QCOMPARE(background(p->activeBox), clRed);
            QCOMPARE(background(p), clMedGray);
            QVERIFY(!ownEnabled(p->minEdit) && !ownEnabled(p->maxEdit) && !ownEnabled(p->keepingBox));
            QCOMPARE(background(p->keepingBox), clGray);
            QVERIFY(!ownEnabled(p->keepingPanel));
            QCOMPARE(background(p->keepingPanel), clMedGray);
            QVERIFY(!ownEnabled(p->autoBox));
        }

        QCOMPARE(w.panels->itemIndex(QStringLiteral("RadioGroup1")), 0);
        PhonePanel *phone = w.panels->phonePanel();
        QCOMPARE(phone->dateEdit->text(), QDate::currentDate().toString(QStringLiteral("dd.MM.yy")));
        QVERIFY(!phone->timeEdit->text().isEmpty());
        // The date-time rule has not run, but both boxes start read-only as
        // the ticked box makes them.
        QVERIFY(phone->dateEdit->isReadOnly() && phone->timeEdit->isReadOnly());
        QCOMPARE(background(phone->dateEdit), clInfoBk);
        QCOMPARE(background(phone->timeEdit), clInfoBk);
    }

    void panelsSitAtTheirPlacesInTheClientArea()
    {
        Window w;
        const struct {
            const char *name;
            QRect place;
        } places[] = {
            {"Panel4", {0, -2, 257, 189}},       {"Panel5", {0, 188, 257, 385}},
            {"Panel_in1", {258, 0, 329, 189}},   {"Panel_in2", {258, 192, 329, 189}},
            {"Panel_in3", {258, 384, 329, 189}}, {"Panel_in4", {593, 0, 329, 189}},
            {"Panel_td1", {593, 192, 329, 188}}, {"Panel_td2", {594, 384, 329, 188}},
            {"Panel1_2", {4, 82, 321, 104}},     {"Panel4_2", {4, 82, 321, 104}},
            {"Panel_td1_2", {7, 89, 313, 96}},   {"Panel_td2_2", {7, 89, 313, 96}},
        };
        for (const auto &p : places) {
            QWidget *panel = w.panels->control(QLatin1String(p.name));
            QVERIFY2(panel, p.name);
            QCOMPARE(panel->geometry(), p.place);
        }
        QCOMPARE(w.panels->control(QStringLiteral("Panel4"))->parentWidget(), w.form->clientArea);
        QVERIFY(w.form->findChild<QWidget *>(QStringLiteral("Panel_in3"))->isVisibleTo(w.form.get()));
    }

    void everyControlOfTheCatalogueHasItsKindAndDesignedValue()
    {
        EditorFixture f(false);
        SettingsPanels &p = *f.panels;
        auto spin = [&](const QString &n, int lo, int hi, int step, int len, const QString &text) {
            SpinEdit *s = p.spinEdit(n);
            QVERIFY2(s, qPrintable(n));
            QCOMPARE(s->minValue(), lo);
            QCOMPARE(s->maxValue(), hi);
            QCOMPARE(s->increment(), step);
            QCOMPARE(s->maxLength(), len);
            QCOMPARE(s->text(), text);
        };
        auto box = [&](const QString &n, const QString &caption, bool ticked) {
            QCheckBox *b = p.checkBox(n);
            QVERIFY2(b, qPrintable(n));
            QCOMPARE(b->text(), caption);
            QCOMPARE(b->isChecked(), ticked);
        };
        auto list = [&](const QString &n, int entries, int index) {
            QComboBox *c = p.list(n);
            QVERIFY2(c, qPrintable(n));
            QCOMPARE(c->count(), entries);
            QCOMPARE(c->currentIndex(), index);
        };

        for (int k = 1; k <= 5; ++k) {
            QVERIFY(p.phoneEdit(controlName("ME_tel", k)));
            QCOMPARE(p.text(controlName("ME_tel", k)), QStringLiteral("+7             "));
        }
        box(QStringLiteral("CheckBox_SMS_All"), QStringLiteral("Отправлять SMS на все номера"), false);
        box(QStringLiteral("CheckBox4"), QStringLiteral("Дата-Время (Авто/ручное)"), true);
        QVERIFY(p.lineEdit(QStringLiteral("Edit_Date")) && p.lineEdit(QStringLiteral("Edit_time")));

        list(QStringLiteral("CBox_INPUT"), 3, 2);
        QCOMPARE(p.list(QStringLiteral("CBox_INPUT"))->currentText(), QStringLiteral("Touch Memory/Импульс"));
        spin(QStringLiteral("SE_inp"), 0, 250, 2, 3, QStringLiteral("0"));
        spin(QStringLiteral("SE_out"), 0, 250, 2, 3, QStringLiteral("0"));
        for (int i = 1; i <= 4; ++i)
            box(controlName("CB_delay", i), QString(), false);
        box(QStringLiteral("CheckBox_SMS_in"), QStringLiteral("Отправлять SMS при постановке"), true);
        box(QStringLiteral("CheckBox_SMS_out"), QStringLiteral("Отправлять SMS при снятии"), true);
        box(QStringLiteral("CheckBox_Audio"), QStringLiteral("Звуковой сигнал при постановке/снятии"), false);
        box(QStringLiteral("CB_Ctrl_Volt"), QStringLiteral("Контроль напряжения питания"), true);
        box(QStringLiteral("CB_vnesh_IBP"), QStringLiteral("Внешний ИБП"), false);
        box(QStringLiteral("CB_Time_SMS"), QStringLiteral("Добавить время в SMS сообщение"), true);
        box(QStringLiteral("CB_mic_dinam"), QStringLiteral("Включить микрофон и динамик"), true);
        box(QStringLiteral("CB_sms_sost"), QStringLiteral("Выслать SMS состояния"), true);
        list(QStringLiteral("CB_on_output_in"), 5, 0);
        box(QStringLiteral("CB_Alarm_SMS"), QStringLiteral("SMS"), true);
        box(QStringLiteral("CB_Alarm_Ring"), QStringLiteral("Дозвон"), true);
        QCOMPARE(p.radioGroup(QStringLiteral("RadioGroup1"))->count(), 2);
        QCOMPARE(p.radioGroup(QStringLiteral("RadioGroup1"))->button(1)->text(), QStringLiteral("Внешн. извещатель"));
        QCOMPARE(p.itemIndex(QStringLiteral("RadioGroup1")), -1);
        QCOMPARE(p.itemIndex(QStringLiteral("RG_Lang")), 0);
        QVERIFY(!p.control(QStringLiteral("RG_Lang"))->isVisibleTo(&f.host));

        const char *const outputs[4] = {"S", "2", "3", "1"};
        const QString captions[4] = {QStringLiteral("Выход 1(Сирена) мин"),
                                     QStringLiteral("Выход 2") + QString(13, QLatin1Char(' ')) + QStringLiteral("мин"),
                                     QStringLiteral("Реле 1") + QString(16, QLatin1Char(' ')) + QStringLiteral("мин"),
                                     QStringLiteral("Реле 2") + QString(16, QLatin1Char(' ')) + QStringLiteral("мин")};
        for (int i = 1; i <= 4; ++i) {
            box(controlName("CheckBox_in", i), QStringLiteral("Активировать"), i == 1);
            QCOMPARE(captionColor(p.control(controlName("CheckBox_in", i))), clYellow);
            box(controlName("CB_ctrl_24_", i), QStringLiteral("Контроль 24 часа"), false);
            QCOMPARE(p.lineEdit(controlName("Edit", i))->maxLength(), 25);
            list(controlName("CBox_IN", i), 3, -1);
            box(controlName("CheckBox_", i, "1"), i == 1 ? QStringLiteral("Задействовать выходы")
                                                  : QStringLiteral("Задействовать выход"), true);
            QVERIFY(!p.control(controlName("CheckBox_", i, "1"))->isVisibleTo(&f.host));
            for (int r = 0; r < 4; ++r) {
                const QString no = QString::number(i) + QLatin1String(outputs[r]);
                box(QStringLiteral("RG_OUT") + no, captions[r], false);
                spin(QStringLiteral("Edit_OUT%1m").arg(no), 0, 1090, 1, 3, QStringLiteral("0"));
                spin(QStringLiteral("Edit_OUT%1s").arg(no), 0, 59, 2, 2, QStringLiteral("1"));
                box(controlName("CheckBox", i, "1") + QLatin1String(outputs[r]), QStringLiteral("Вкл. всегда"), false);
            }
        }
        for (int s = 1; s <= 2; ++s) {
            box(controlName("CheckBox_td", s), QStringLiteral("Активировать"), false);
            for (const QString &t : {controlName("SE_min_td", s), controlName("SE_max_td", s),
                                     controlName("SE_Min_td", s, "1"), controlName("SE_max_td", s, "1")})
                spin(t, -55, 125, 2, 3, QStringLiteral("1"));
            box(controlName("CheckBox_td", s, "1"), QStringLiteral("Поддержание температуры"), false);
            list(controlName("CB_td", s, "_out"), 4, 0);
            box(controlName("CheckBox_td", s, "_auto"), QStringLiteral("Авторегулировка температуры после снятия с охраны"),
                false);
        }
        // Every name is one control.
        const QStringList names = p.controlNames();
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }

    void findingByNameRefusesWhatIsNotThere()
    {
        EditorFixture f;
        QVERIFY(!f.panels->control(QStringLiteral("SE_min_td11")));
        QVERIFY(!f.panels->checkBox(QStringLiteral("SE_inp")));
        QVERIFY_THROWS_EXCEPTION(AppError, f.panels->setChecked(QStringLiteral("SE_inp"), true));
        QVERIFY_THROWS_EXCEPTION(AppError, f.panels->text(QStringLiteral("CheckBox4")));
        QVERIFY_THROWS_EXCEPTION(AppError, f.panels->setItemIndex(QStringLiteral("Edit1"), 0));
    }

    void clockWritesTheTimeBoxOnlyWhileDateAndTimeAreAutomatic()
    {
        Window w;
        QLineEdit *time = w.panels->phonePanel()->timeEdit;
        time->setText(QStringLiteral("x"));
        w.form->onClockTick();
        QVERIFY(time->text() != QStringLiteral("x"));
        QVERIFY(!time->text().isEmpty());

        w.panels->setChecked(QStringLiteral("CheckBox4"), false);
        time->setText(QStringLiteral("07:30:00"));
        w.form->onClockTick();
        QCOMPARE(time->text(), QStringLiteral("07:30:00"));
    }

    void clicksInTheWindowRunTheRules()
    {
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QCheckBox *sensor = w.panels->checkBox(QStringLiteral("CheckBox_td2"));
        QTest::mouseClick(sensor, Qt::LeftButton, {}, QPoint(8, sensor->height() / 2));
        QVERIFY(sensor->isChecked());
        QCOMPARE(background(sensor), clGreen);
        QVERIFY(ownEnabled(w.panels->control(QStringLiteral("SE_min_td2"))));

        QCheckBox *keeping = w.panels->checkBox(QStringLiteral("CheckBox_td21"));
        QTest::mouseClick(keeping, Qt::LeftButton, {}, QPoint(8, keeping->height() / 2));
        QVERIFY(keeping->isChecked());
        QVERIFY(w.panels->control(QStringLiteral("Panel_td2_2"))->isEnabled());
        QVERIFY(w.panels->control(QStringLiteral("SE_Min_td21"))->isEnabled());
    }
};

QTEST_MAIN(EditorWindowTest)
#include "test_editor_window.moc"
