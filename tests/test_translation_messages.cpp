// Every message box and status bar text in the window's language, through the
// dictionary's message sections ("Rus1", "Eng1").

#include "exchange/identification.h"
#include "exchange/scan_report.h"
#include "file_bytes.h"
#include "translate/message_translation.h"
#include "translate/shipped_dictionary.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

const QRegularExpression kCyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));

// The texts as the tool shows them, run-time parts filled in.
QStringList shownTexts()
{
    QStringList texts = {
        QStringLiteral("соединение установлено."),
        QStringLiteral("Версия и тип прибора не определены\r\nсоединение НЕ установлено."),
        QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство."),
        QStringLiteral("Превышен период ожидания ответа устройства."),
        QStringLiteral("НЕТ ответа о окончании записи в устройство"),
        QStringLiteral("Превышен период ожидания ответа устройства.\r\nНет информации о ключе."),
        QStringLiteral("НЕТ ответа о готовности к чтению ключей"),
        QStringLiteral("НЕТ ответа о уровне сигнала."),
        QStringLiteral("Нет соединения с устройством. Проверьте подключение"),
        QStringLiteral("Не задано имя файла"),
        QStringLiteral("Файл не найден"),
        QStringLiteral("Ошибка чтения файла"),
        QStringLiteral("Файл с таким именем существует.  Заменить?"),
        QStringLiteral("Закрыть приложение?"),
        QStringLiteral("Закрыт (Com=COM1)"),
        QStringLiteral("Открыт (Com=/dev/ttyUSB0)"),
        QStringLiteral("соединен с /dev/pts/7 v2.14"),
        QStringLiteral("Конфигурации ЗАРВЕН-4 (*.cfg)"),
        QStringLiteral("Все файлы (*)"),
        QStringLiteral("Конфигурация сохранена в /home/u/дом.cfg"),
        QStringLiteral("Конфигурация загружена из /home/u/a.cfg"),
        QStringLiteral("Файл /tmp/b.cfg не найден и убран из списка последних файлов"),
        QStringLiteral("Настройки изменены и не сохранены в файл. Сохранить их?"),
        QStringLiteral("Файл не является файлом конфигурации ЗАРВЕН-4: /tmp/p.jpg"),
        QStringLiteral("Код Ключа №7 содержит недопустимые символы"),
        QStringLiteral("Процесс чтения завершился=0.Память чиста.\r\n Восстановить предыдующие значения"),
        QStringLiteral("Процесс чтения завершился. Все OK."),
        QStringLiteral("Процесс записи завершился. Все OK."),
        QStringLiteral("Ответ об успешной записи не корректен."),
        QStringLiteral("Не введен текст сообщений на входах:2,4,. Нажмите OK."),
        QStringLiteral("Не введен текст сообщений на входе:3,. Нажмите OK."),
        QStringLiteral("Запись не выполнена: в поле Edit_in1 должно быть целое число."),
        QStringLiteral("Ответ о готовности к сохранению ключей некорректен."),
        QStringLiteral("Процесс записи ключей завершился. Все OK."),
        QStringLiteral("Ответ об успешной записи ключей не корректен."),
        QStringLiteral("Ошибка формата файла ключей в строке 5"),
        QStringLiteral("Ошибка записи файла"),
        QStringLiteral("Ключи ЗАРВЕН-4 (*.key)"),
        QStringLiteral("Нет соединения с устройством. Необходимо проверить подключение"),
        QStringLiteral("Таблица ключей не получена от прибора. Таблица на экране не показывает ключи прибора; при "
                       "записи она заменит все десять ключей прибора."),
        scanProgressText(QStringLiteral("/dev/ttyUSB0"), 1, 3, {}),
        connectionLostText(QStringLiteral("/dev/ttyUSB0"), {}),
        lineLostMessage(QStringLiteral("/dev/ttyUSB0"), true, QString(), {}),
        lineLostMessage(QStringLiteral("/dev/ttyUSB0"), false, QStringLiteral("The line hung up"), {}),
        scanReport({}, {}),
        // A template that repeats a placeholder.
        scanReport({PortDiagnosis{QStringLiteral("/dev/ttyUSB0"), PortFault::NoPermission, QStringLiteral("dialout"), {}, {}, {}}},
                   {}),
    };
    for (const char *reply : {"On", "V3", "T3", "V5", "T5"})
        texts << siblingRefusal(QByteArray(reply));
    return texts;
}

} // namespace

class MessageTranslationTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path;

private slots:
    void init()
    {
        path = freshFilePath(dir, QStringLiteral("trans.dic"));
        writeFileBytes(path, shippedDictionary());
    }

    // Run-time parts (paths, port names, versions) are kept as they are,
    // even when they are Russian themselves.
    void everyShownTextIsEnglishInEnglishAndUnchangedInRussian()
    {
        const QByteArray before = readFileBytes(path);
        for (const QString &text : shownTexts()) {
            QCOMPARE(translateMessage(text, QLatin1Char('R'), path), text);
            QString english = translateMessage(text, QLatin1Char('E'), path);
            QVERIFY2(!english.isEmpty() && english != text, qPrintable(text));
            english.remove(QStringLiteral("дом.cfg"));
            QVERIFY2(!english.contains(kCyrillic), qPrintable(text + QStringLiteral(" -> ") + english));
            QCOMPARE(english.count(QStringLiteral("\r\n")), text.count(QStringLiteral("\r\n")));
        }
        QCOMPARE(translateMessage(QStringLiteral("соединен с COM3 v2.14"), QLatin1Char('E'), path),
                 QStringLiteral("connected to COM3 v2.14"));
        // The blank leading a line is kept.
        QVERIFY(translateMessage(QStringLiteral("Процесс чтения завершился=0.Память чиста.\r\n Восстановить предыдующие значения"),
                                         QLatin1Char('E'), path).endsWith(QStringLiteral("\r\n Restore the previous values")));
        QCOMPARE(readFileBytes(path), before);
    }

    void anInstallersOlderDictionaryStillShowsTheShippedEnglish()
    {
        writeText(path, QStringLiteral("[Eng1]\r\nЗакрыть приложение?=\r\n"));
        QCOMPARE(translateMessage(QStringLiteral("Закрыть приложение?"), QLatin1Char('E'), path),
                 QStringLiteral("Close the application?"));
        // The installer's own entry wins over the shipped one.
        writeText(path, QStringLiteral("[Eng1]\r\nЗакрыть приложение?=Quit?\r\n"));
        QCOMPARE(translateMessage(QStringLiteral("Закрыть приложение?"), QLatin1Char('E'), path), QStringLiteral("Quit?"));
    }

    void anAlreadyTranslatedTextStaysAndAnUnknownOneIsCollected()
    {
        const QByteArray before = readFileBytes(path);
        QCOMPARE(translateMessage(QStringLiteral("File not found"), QLatin1Char('E'), path),
                 QStringLiteral("File not found"));
        // A composed message its caller translated already.
        QCOMPARE(translateMessage(QStringLiteral("Key file format error at line 5"), QLatin1Char('E'), path),
                 QStringLiteral("Key file format error at line 5"));
        QCOMPARE(readFileBytes(path), before);

        QCOMPARE(translateMessage(QStringLiteral("Новое сообщение"), QLatin1Char('E'), path),
                 QStringLiteral("Новое сообщение"));
        QVERIFY(readText(path).contains(QStringLiteral("Новое сообщение=\r\n")));
    }

    // A message must reach the user even when its translation cannot be
    // collected, and showing one never creates a dictionary.
    void aReadOnlyOrMissingDictionaryLeavesTheTextAlone()
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QCOMPARE(translateMessage(QStringLiteral("Новое сообщение"), QLatin1Char('E'), path),
                 QStringLiteral("Новое сообщение"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
        QCOMPARE(translateMessage(QStringLiteral("Файл не найден"), QLatin1Char('E'), path),
                 QStringLiteral("File not found"));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(MessageTranslationTest)
#include "test_translation_messages.moc"
