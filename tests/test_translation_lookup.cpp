// Looking texts up in the dictionary and translating messages.

#include "core/message_boxes.h"
#include "file_bytes.h"
#include "translate/profile_file.h"
#include "translate/translation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class LookupTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path;
    ScriptedMessageBoxes boxes;

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        path = freshFilePath(dir, QStringLiteral("trans.dic"));
        boxes.clear();
    }

    void aFoundValueIsReturnedAsStoredAccelerators()
    {
        writeText(path, QStringLiteral("[Eng]\r\nВыход=E&xit\r\nФайл=File\r\n"));
        const ProfileFile dic(path);
        // The key loses every "&"; the value keeps its own.
        QCOMPARE(LookupTranslation(QStringLiteral("Вы&ход"), QStringLiteral("Eng"), dic), QStringLiteral("E&xit"));
        QCOMPARE(LookupTranslation(QStringLiteral("&&Фа&йл"), QStringLiteral("Eng"), dic), QStringLiteral("File"));
        QCOMPARE(readText(path), QStringLiteral("[Eng]\r\nВыход=E&xit\r\nФайл=File\r\n"));
    }

    // The miss result: the looked-up text itself, "&" included, never blank.
    void aMissingKeyIsWrittenBackEmptyAndTheTextItselfReturned()
    {
        writeText(path, QStringLiteral("[Eng]\r\nФайл=File\r\n"));
        const ProfileFile dic(path);
        QCOMPARE(LookupTranslation(QStringLiteral("&Справка"), QStringLiteral("Eng"), dic), QStringLiteral("&Справка"));
        const QString afterFirst = readText(path);
        QCOMPARE(afterFirst, QStringLiteral("[Eng]\r\nФайл=File\r\nСправка=\r\n"));

        // The empty value counts as missing; the entry is not written again.
        QCOMPARE(LookupTranslation(QStringLiteral("Справка"), QStringLiteral("Eng"), dic), QStringLiteral("Справка"));
        QCOMPARE(readText(path), afterFirst);
    }

    void anEmptyTextStaysEmptyAndTouchesNothing()
    {
        const ProfileFile dic(path);
        QCOMPARE(LookupTranslation(QString(), QStringLiteral("Eng"), dic), QString());
        QVERIFY(!QFile::exists(path));
    }

    void aTextNoLineCanHoldIsReturnedAndNeverWritten()
    {
        writeText(path, QStringLiteral("[Eng]\r\na=not this\r\n"));
        const ProfileFile dic(path);
        for (const QString &text : {QStringLiteral("a=b"), QStringLiteral("две\nстроки"), QStringLiteral("[x]"),
                                    QStringLiteral("\u221A"), QStringLiteral("&")}) {
            QCOMPARE(LookupTranslation(text, QStringLiteral("Eng"), dic), text);
        }
        QCOMPARE(readText(path), QStringLiteral("[Eng]\r\na=not this\r\n"));
    }

    void messagesUseRus1ForRussianAndEng1ForEnglish()
    {
        writeText(path, QStringLiteral("[Rus1]\r\nФайл не найден=Файл не найден\r\n"
                                       "[Eng1]\r\nФайл не найден=File not found\r\n"));
        QCOMPARE(TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('R'), path, boxes),
                 QStringLiteral("Файл не найден"));
        QCOMPARE(TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('E'), path, boxes),
                 QStringLiteral("File not found"));
        QVERIFY(boxes.shown().isEmpty());
    }

    void aMissingMessageIsCollectedInTheLanguagesSection()
    {
        writeText(path, QStringLiteral("[Rus1]\r\n[Eng1]\r\n"));
        QCOMPARE(TranslateText(QStringLiteral("Ошибка чтения файла"), QLatin1Char('E'), path, boxes),
                 QStringLiteral("Ошибка чтения файла"));
        QCOMPARE(TranslateText(QStringLiteral("Не задано имя файла"), QLatin1Char('R'), path, boxes),
                 QStringLiteral("Не задано имя файла"));
        QCOMPARE(readText(path), QStringLiteral("[Rus1]\r\nНе задано имя файла=\r\n[Eng1]\r\nОшибка чтения файла=\r\n"));
    }

    // While the file is missing every message gets its own box; the first
    // write-back creates the file, and the box is not shown again.
    void aMissingDictionaryIsReportedUntilTheWriteBackCreatesIt()
    {
        QCOMPARE(TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('E'), path, boxes),
                 QStringLiteral("Файл не найден"));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("No exists") + path});
        QCOMPARE(boxes.shown().first().kind, BoxKind::Plain);
        QCOMPARE(readText(path), QStringLiteral("[Eng1]\r\nФайл не найден=\r\n"));

        TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('E'), path, boxes);
        QCOMPARE(boxes.shown().size(), 1);
    }

    void aDictionaryEditedBetweenTwoCallsIsReadAnew()
    {
        writeText(path, QStringLiteral("[Eng1]\r\nФайл не найден=File not found\r\n"));
        QCOMPARE(TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('E'), path, boxes),
                 QStringLiteral("File not found"));
        writeText(path, QStringLiteral("[Eng1]\r\nФайл не найден=No such file\r\n"));
        QCOMPARE(TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('E'), path, boxes),
                 QStringLiteral("No such file"));
        QFile::remove(path);
        QCOMPARE(TranslateText(QStringLiteral("Файл не найден"), QLatin1Char('E'), path, boxes),
                 QStringLiteral("Файл не найден"));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("No exists") + path});
    }
};

QTEST_GUILESS_MAIN(LookupTest)
#include "test_translation_lookup.moc"
