// The dictionary shipped with the program: the messages in both languages,
// and window sections that map English and Russian onto each other.

#include "core/cp1251.h"
#include "settings/settings_comparison.h"
#include "settings/write_image.h"
#include "translate/profile_file.h"
#include "translate/shipped_dictionary.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace zarven;

namespace {

using Entries = QList<QPair<QString, QString>>;

// The shipped file's sections, entries in file order.
QMap<QString, Entries> parse(const QByteArray &bytes)
{
    QMap<QString, Entries> sections;
    QString current;
    for (const QString &line : fromCp1251(bytes).split(QStringLiteral("\r\n"))) {
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            current = line.mid(1, line.size() - 2);
            sections[current];
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        sections[current].append({line.left(eq), line.mid(eq + 1)});
    }
    return sections;
}

// Every text the comparison with the controller passes through the
// dictionary: places, captions, value words, report lines, dialog and
// messages.
QStringList comparisonTexts()
{
    QStringList seen;
    const TextTranslator record = [&seen](const QString &text) {
        if (!seen.contains(text))
            seen << text;
        return text;
    };
    for (const ImageField &f : imageFields()) {
        record(f.place);
        record(f.caption);
        for (const QByteArray &bytes : {QByteArray("0"), QByteArray("1"), QByteArray("2"), QByteArray("3"),
                                        QByteArray("4"), QByteArray("\0\0", 2), QByteArray("\xFF\xDC", 2),
                                        QByteArray("\0\x01", 2)})
            fieldValueText(f.kind, bytes, record);
    }
    differenceReport({{0, "a", "b"}}, record);
    differenceCountLine(0, record);
    for (const char *text : {"Сравнение с прибором", "Проверка после записи",
                             "Проверка после записи не пройдена: прибор хранит не то, что записано.", "Где", "Поле",
                             "Окно", "Прибор", "Копировать", "Закрыть",
                             "Память прибора чиста: сравнивать не с чем.",
                             "Запись подтверждена, но прибор вернул пустую память: проверка не пройдена.",
                             "Запись подтверждена, но прибор не ответил на проверочное чтение: настройки не проверены.",
                             "Процесс записи завершился. Все OK. Настройки проверены: различий нет."})
        record(QString::fromUtf8(text));
    return seen;
}

QStringList messages()
{
    QStringList list = {
        QStringLiteral("Не введен текст сообщений на входе:"),
        QStringLiteral("Не введен текст сообщений на входах:"),
        QStringLiteral(". Нажмите OK."),
        QStringLiteral("Нет соединения с устройством. Проверьте подключение"),
        QStringLiteral("Ошибка соединения с устройством. Проверьте подключение"),
        QStringLiteral("Ошибка соединения с портом. Проверьте подключение"),
        QStringLiteral("Нет соединения с устройством. Необходимо проверить подключение"),
        QStringLiteral("Ошибка открытия порта. Проверьте подключение"),
        QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство."),
        QStringLiteral("Не задано имя файла"),
        QStringLiteral("Файл не найден"),
        QStringLiteral("Ошибка чтения файла"),
        QStringLiteral("Ошибка записи файла"),
        QStringLiteral("Ошибка формата файла ключей в строке"),
        QStringLiteral("Таблица ключей не получена от прибора. Таблица на экране не показывает ключи прибора; при "
                       "записи она заменит все десять ключей прибора."),
        // The scan's port diagnosis and status texts.
        QStringLiteral("%1: нет прав на порт. Добавьте пользователя в группу %2 (sudo usermod -aG %2 $USER) "
                       "и войдите в систему заново."),
        QStringLiteral("%1: порт занят другой программой. Закройте её и повторите поиск."),
        QStringLiteral("%1: порт занят программой %2. Закройте её и повторите поиск."),
        QStringLiteral("ModemManager можно остановить: sudo systemctl stop ModemManager"),
        QStringLiteral("%1: устройство отключено."),
        QStringLiteral("%1: порт не открывается (%2)."),
        QStringLiteral("%1: нет ответа."),
        QStringLiteral("Последовательные порты не найдены. Подключите USB-адаптер прибора."),
        QStringLiteral("Поиск: %1 (%2 из %3)"),
        QStringLiteral("Связь с прибором потеряна (%1)"),
        QStringLiteral("Связь с прибором потеряна, обмен прерван."),
        QStringLiteral("%1: линия оборвана (%2)."),
        QStringLiteral("Проверьте подключение прибора и нажмите \"Соединить\"."),
    };
    for (auto refusal : {WriteRefusal::NotANumber, WriteRefusal::BadTime, WriteRefusal::BadDate,
                         WriteRefusal::NoSelection, WriteRefusal::StopMarker})
        list << writeRefusalMessage(refusal);
    for (int row = 1; row <= 10; ++row) {
        list << QStringLiteral("Код Ключа №%1 содержит недопустимые символы").arg(row);
        list << QStringLiteral("Ключ №%1: описание или код содержат байты FF FE (конец пакета), прибор обрезал бы "
                               "таблицу. Измените описание или код.")
                    .arg(row);
    }
    return list + comparisonTexts();
}

const QRegularExpression kCyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));

} // namespace

class ShippedDictionaryTest : public QObject {
    Q_OBJECT
private:
    QByteArray bytes;
    QMap<QString, Entries> sections;

    QString read(const QString &section, const QString &key)
    {
        QTemporaryFile file;
        if (!file.open())
            return {};
        file.write(bytes);
        file.close();
        return ProfileFile(file.fileName()).readString(section, key);
    }

private slots:
    void initTestCase()
    {
        bytes = shippedDictionary();
        sections = parse(bytes);
        QCOMPARE(sections.keys(), (QStringList{QStringLiteral("Eng"), QStringLiteral("Eng1"), QStringLiteral("Rus"),
                                               QStringLiteral("Rus1")}));
    }

    void isCodePage1251WithCrLfLineEnds()
    {
        QVERIFY(!bytes.contains("\n\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(toCp1251(fromCp1251(bytes)), bytes);
    }

    void everyMessageShowsItselfInRussianAndHasEnglish()
    {
        for (const QString &message : messages()) {
            QCOMPARE(read(QStringLiteral("Rus1"), message), message);
            const QString english = read(QStringLiteral("Eng1"), message);
            QVERIFY2(!english.isEmpty() && !english.contains(kCyrillic), qPrintable(message));
        }
        // Every message of either section is in both, Russian as itself.
        const Entries rus1 = sections[QStringLiteral("Rus1")];
        QCOMPARE(rus1.size(), sections[QStringLiteral("Eng1")].size());
        for (const auto &[key, value] : rus1) {
            QCOMPARE(value, key);
            QVERIFY2(!read(QStringLiteral("Eng1"), key).isEmpty(), qPrintable(key));
        }
    }

    // "Rus" is keyed by what "Eng" shows, so every English text must lead
    // back to the one Russian text it came from: one Russian text has one
    // English text, and no two Russian texts share one (keys are compared
    // without regard to case, so neither may two differ only in case).
    void windowSectionsMapBothWays()
    {
        const Entries eng = sections[QStringLiteral("Eng")];
        const Entries rus = sections[QStringLiteral("Rus")];
        QVERIFY(!eng.isEmpty());
        QSet<QString> engKeys;
        QMap<QString, QString> englishToRussian;
        for (const auto &[russian, english] : eng) {
            QVERIFY2(!engKeys.contains(russian.toLower()), qPrintable(QStringLiteral("twice in [Eng]: ") + russian));
            engKeys.insert(russian.toLower());
            QVERIFY2(!english.isEmpty() && !english.contains(kCyrillic), qPrintable(russian));
            QString key = english;
            key.remove(QLatin1Char('&'));
            const QString earlier = englishToRussian.value(key.toLower());
            QVERIFY2(earlier.isEmpty(), qPrintable(QStringLiteral("one English text for two Russian texts: ") + earlier
                                                   + QStringLiteral(" / ") + russian));
            englishToRussian.insert(key.toLower(), russian);
            QCOMPARE(read(QStringLiteral("Rus"), key).remove(QLatin1Char('&')), russian);
            QCOMPARE(read(QStringLiteral("Eng"), russian), english);
        }
        QCOMPARE(rus.size(), eng.size());
    }
};

QTEST_GUILESS_MAIN(ShippedDictionaryTest)
#include "test_translation_shipped_dictionary.moc"
