// What a write sends that is probably not meant: the warnings by field, and
// the window's clock against the computer's.

#include "editor_fixture.h"

#include "settings/control_access.h"
#include "settings/write_warnings.h"

#include <QtTest>
#include <functional>

using namespace zarven;
using namespace zarven::test;

using Setup = std::function<void(ControlAccess &)>;
Q_DECLARE_METATYPE(Setup)

namespace {

void output(ControlAccess &c, const QString &minutes, bool alwaysOn = false, bool active = true)
{
    c.setChecked(QStringLiteral("CheckBox_in1"), active);
    c.setChecked(QStringLiteral("CheckBox_11"), true);
    c.setChecked(QStringLiteral("RG_OUT11"), true);
    c.setChecked(QStringLiteral("CheckBox111"), alwaysOn);
    c.setText(QStringLiteral("Edit_OUT11m"), minutes);
    c.setText(QStringLiteral("Edit_OUT11s"), QStringLiteral("1"));
}

void sensor(ControlAccess &c, int n, int low, int high, bool enabled = true)
{
    c.setChecked(QStringLiteral("CheckBox_td%1").arg(n), enabled);
    c.setText(QStringLiteral("SE_min_td%1").arg(n), QString::number(low));
    c.setText(QStringLiteral("SE_max_td%1").arg(n), QString::number(high));
}

void phones(ControlAccess &c, const QStringList &numbers)
{
    for (int k = 0; k < numbers.size(); ++k)
        c.setText(QStringLiteral("ME_tel%1").arg(k + 1), numbers[k]);
}

} // namespace

class WriteWarningsTest : public QObject {
    Q_OBJECT
private slots:
    void warningsNameTheFieldByPlaceAndCaption_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("expected");
        const QString min1 = QStringLiteral("«Термодатчик 1 / Порог опасной температуры Min»");
        const QString max1 = QStringLiteral("«Термодатчик 1 / Порог опасной температуры Max»");
        QTest::newRow("started window") << Setup([](ControlAccess &) {}) << QStringList();
        QTest::newRow("min above max") << Setup([](ControlAccess &c) { sensor(c, 1, 30, 20); })
                                       << QStringList{min1 + QStringLiteral(" (30) не ниже ") + max1
                                                      + QStringLiteral(" (20): датчик всегда вне пределов.")};
        QTest::newRow("min equal to max") << Setup([](ControlAccess &c) { sensor(c, 2, 5, 5); })
                                          << QStringList{QStringLiteral(
                                                 "«Термодатчик 2 / Порог опасной температуры Min» (5) не ниже "
                                                 "«Термодатчик 2 / Порог опасной температуры Max» (5): датчик всегда "
                                                 "вне пределов.")};
        QTest::newRow("disabled sensor") << Setup([](ControlAccess &c) { sensor(c, 1, 30, 20, false); })
                                         << QStringList();
        QTest::newRow("output beyond 500 min")
            << Setup([](ControlAccess &c) { output(c, QStringLiteral("500")); })
            << QStringList{QStringLiteral("«Вход 1 / Реле 2»: 500 мин 1 сек, больше 500 минут.")};
        QTest::newRow("output always on") << Setup([](ControlAccess &c) { output(c, QStringLiteral("900"), true); })
                                          << QStringList();
        QTest::newRow("output of inactive input")
            << Setup([](ControlAccess &c) { output(c, QStringLiteral("900"), false, false); }) << QStringList();
        QTest::newRow("output within 500 min") << Setup([](ControlAccess &c) { output(c, QStringLiteral("499")); })
                                               << QStringList();
        QTest::newRow("phones") << Setup([](ControlAccess &c) {
            phones(c, {QStringLiteral("+7916123456"), QStringLiteral("+89161234567"), QStringLiteral("+79161234567"),
                       QStringLiteral("+442071234567"), QStringLiteral("+79161234567")});
        }) << QStringList{QStringLiteral("«Телефоны / Номер 1»: за «+7» следуют 9 цифр вместо десяти."),
                          QStringLiteral("«Телефоны / Номер 2»: номер +89161234567 начинается с 8 после «+»; за «+7» "
                                         "следуют десять цифр."),
                          QStringLiteral("«Телефоны / Номер 5» повторяет «Телефоны / Номер 3»: +79161234567.")};
    }
    void warningsNameTheFieldByPlaceAndCaption()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, expected);
        EditorFixture f;
        ControlAccess c(*f.panels);
        setup(c);
        QCOMPARE(writeWarnings(c), expected);
    }

    void staleClockIsTheOffsetBeyondTwoMinutes_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("question"); // empty: not asked
        const QString ask = QStringLiteral("Время в окне отличается от часов компьютера на %1. Записать текущее время?");
        QTest::newRow("17 min behind") << "10.12.26" << "9:07:04" << ask.arg(QStringLiteral("17 мин"));
        QTest::newRow("2 min behind") << "10.12.26" << "09:22:40" << QString();
        QTest::newRow("3 h ahead") << "10.12.26" << "12:30:00" << ask.arg(QStringLiteral("3 ч 5 мин"));
        QTest::newRow("another day") << "08.12.26" << "09:24:40" << ask.arg(QStringLiteral("2 дн. 0 ч"));
        QTest::newRow("no date") << "" << "09:24:40" << QString();
    }
    void staleClockIsTheOffsetBeyondTwoMinutes()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, question);
        EditorFixture f;
        ControlAccess c(*f.panels);
        c.setChecked(QStringLiteral("CheckBox4"), false);
        c.setText(QStringLiteral("Edit_Date"), date);
        c.setText(QStringLiteral("Edit_time"), time);
        const auto offset = staleClockOffset(c, QDateTime(QDate(2026, 12, 10), QTime(9, 24, 40)));
        QCOMPARE(offset ? staleClockQuestion(*offset) : QString(), question);
    }
};

QTEST_MAIN(WriteWarningsTest)
#include "test_write_warnings.moc"
