// The sectioned key=value file that holds the translation dictionary.

#include "core/cp1251.h"
#include "core/errors.h"
#include "file_bytes.h"
#include "translate/profile_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class ProfileFileTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path;

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        path = freshFilePath(dir, QStringLiteral("trans.dic"));
    }

    void keysAndSectionsMatchWithoutRegardToCaseCyrillicIncluded()
    {
        writeText(path, QStringLiteral("[eNG]\r\nФАЙЛ=File\r\nвыход=Exit\r\nЁлка=Fir\r\n"));
        const ProfileFile file(path);
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("файл")), QStringLiteral("File"));
        QCOMPARE(file.readString(QStringLiteral("ENG"), QStringLiteral("ВЫХОД")), QStringLiteral("Exit"));
        QCOMPARE(file.readString(QStringLiteral("eng"), QStringLiteral("ёЛКА")), QStringLiteral("Fir"));
        // Case only: another letter is another key.
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("Файлы")), QString());
    }

    void blanksAroundKeysAndValuesAreNotPartOfThem()
    {
        writeText(path, QStringLiteral("  [ Eng ]  \n \t Выход 2             мин \t=\t  Output 2 min  \n"
                                       "quoted = \"  kept blanks \"\n"
                                       "lone=\"\n"));
        const ProfileFile file(path);
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("Выход 2             мин")),
                 QStringLiteral("Output 2 min"));
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("  Выход 2             мин ")),
                 QStringLiteral("Output 2 min"));
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("quoted")), QStringLiteral("  kept blanks "));
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("lone")), QStringLiteral("\""));
    }

    void firstEqualsSignEndsTheKey()
    {
        writeText(path, QStringLiteral("[S]\r\na=b=c\r\n=nokey\r\n"));
        const ProfileFile file(path);
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("a")), QStringLiteral("b=c"));
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("a=b")), QString());
    }

    void valuesAreReadUpTo2047Characters()
    {
        const QString exact(2047, QChar(0x0416));
        const QString longer = QString(2047, QLatin1Char('x')) + QStringLiteral("yz");
        writeText(path, QStringLiteral("[S]\nexact=") + exact + QStringLiteral("\nlonger=") + longer + QLatin1Char('\n'));
        const ProfileFile file(path);
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("exact")), exact);
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("longer")), QString(2047, QLatin1Char('x')));
    }

    void theFirstSectionAndTheFirstEntryOfAKeyCount()
    {
        writeText(path, QStringLiteral("k=outside\n[Other]\nk=other\n[S]\nk=first\nK=second\n[s]\nk=later\n"));
        const ProfileFile file(path);
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("first"));
        QCOMPARE(file.readString(QStringLiteral("Missing"), QStringLiteral("k")), QString());
    }

    void crLfAndLfLineEndsAndALastLineWithoutOne()
    {
        writeFileBytes(path, QByteArray("[S]\r\na=1\r\nb=2\nc=3"));
        const ProfileFile file(path);
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("a")), QStringLiteral("1"));
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("b")), QStringLiteral("2"));
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("c")), QStringLiteral("3"));
    }

    void missingFileReadsAsEmptyAndIsNotCreated()
    {
        const ProfileFile file(path);
        QVERIFY(!file.exists());
        QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("k")), QString());
        QVERIFY(!QFile::exists(path));
    }

    void writingCreatesTheFileTheSectionAndTheEntry()
    {
        const ProfileFile file(path);
        file.writeString(QStringLiteral("Eng"), QStringLiteral("Файл"), QString());
        QCOMPARE(readFileBytes(path), toCp1251(QStringLiteral("[Eng]\r\nФайл=\r\n")));
        file.writeString(QStringLiteral("Rus"), QStringLiteral("File"), QStringLiteral("Файл"));
        QCOMPARE(readFileBytes(path), toCp1251(QStringLiteral("[Eng]\r\nФайл=\r\n[Rus]\r\nFile=Файл\r\n")));
        file.writeString(QStringLiteral("eng"), QStringLiteral("Выход"), QStringLiteral("Exit"));
        QCOMPARE(readFileBytes(path), toCp1251(QStringLiteral("[Eng]\r\nФайл=\r\nВыход=Exit\r\n[Rus]\r\nFile=Файл\r\n")));
        QCOMPARE(file.readString(QStringLiteral("Eng"), QStringLiteral("выход")), QStringLiteral("Exit"));
    }

    void writingOneEntryKeepsEveryOtherLineByteForByte()
    {
        // Mixed line ends, a comment, odd lines and blank separators.
        const QByteArray before = toCp1251(QStringLiteral("; notes\r\n[Eng]\r\n  Файл =  File \r\nodd line\n"
                                                          "Выход=\r\n\r\n[Rus]\nFile=Файл\n\n"));
        writeFileBytes(path, before);
        const ProfileFile file(path);

        file.writeString(QStringLiteral("ENG"), QStringLiteral("выход"), QStringLiteral("Exit"));
        QCOMPARE(readFileBytes(path), toCp1251(QStringLiteral("; notes\r\n[Eng]\r\n  Файл =  File \r\nodd line\n"
                                                              "выход=Exit\r\n\r\n[Rus]\nFile=Файл\n\n")));

        // A new entry goes after the section's last filled line, before the
        // blank separator, and takes the file's first line end.
        file.writeString(QStringLiteral("Rus"), QStringLiteral("Exit"), QStringLiteral("Выход"));
        QCOMPARE(readFileBytes(path), toCp1251(QStringLiteral("; notes\r\n[Eng]\r\n  Файл =  File \r\nodd line\n"
                                                              "выход=Exit\r\n\r\n[Rus]\nFile=Файл\nExit=Выход\r\n\n")));
    }

    void aNewSectionFollowsALastLineWithoutLineEnd()
    {
        writeFileBytes(path, QByteArray("[A]\nx=1"));
        ProfileFile(path).writeString(QStringLiteral("B"), QStringLiteral("y"), QString());
        QCOMPARE(readFileBytes(path), QByteArray("[A]\nx=1\n[B]\ny=\n"));
        ProfileFile(path).writeString(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("2"));
        QCOMPARE(readFileBytes(path), QByteArray("[A]\nx=1\nz=2\n[B]\ny=\n"));
    }

    void valuesWithBlanksAtTheirEndsReadBackUnchanged()
    {
        const ProfileFile file(path);
        const QStringList values = {QStringLiteral(" lead"), QStringLiteral("trail\t"), QStringLiteral("\"quoted\""),
                                    QStringLiteral("\"")};
        for (const QString &v : values) {
            file.writeString(QStringLiteral("S"), QStringLiteral("k"), v);
            QCOMPARE(file.readString(QStringLiteral("S"), QStringLiteral("k")), v);
        }
    }

    void rewritingTheSameValueLeavesTheFileAlone()
    {
        const QByteArray before = QByteArray("[S]\n  k =  \n");
        writeFileBytes(path, before);
        // Read-only: had the file been written, the write would have failed.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        ProfileFile(path).writeString(QStringLiteral("s"), QStringLiteral("K"), QString());
        QCOMPARE(readFileBytes(path), before);
    }

    void readOnlyFileRaisesUnableToWriteAndStaysUnchanged()
    {
        const QByteArray before = toCp1251(QStringLiteral("[Eng]\r\nФайл=File\r\n"));
        writeFileBytes(path, before);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        try {
            ProfileFile(path).writeString(QStringLiteral("Eng"), QStringLiteral("Выход"), QString());
            QFAIL("no error raised");
        } catch (const FileError &e) {
            QCOMPARE(e.message(), QStringLiteral("Unable to write to ") + path);
        }
        QCOMPARE(readFileBytes(path), before);
        QCOMPARE(QFile::permissions(path) & QFile::WriteOwner, QFileDevice::Permissions());
    }

    void missingFolderRaisesUnableToWrite()
    {
        const QString inMissing = dir.filePath(QStringLiteral("no/such/trans.dic"));
        try {
            ProfileFile(inMissing).writeString(QStringLiteral("Eng"), QStringLiteral("k"), QString());
            QFAIL("no error raised");
        } catch (const FileError &e) {
            QCOMPARE(e.message(), QStringLiteral("Unable to write to ") + inMissing);
        }
    }

    void writingKeepsTheFilesPermissions()
    {
        writeFileBytes(path, QByteArray("[S]\n"));
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, perms));
        ProfileFile(path).writeString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
        QCOMPARE(QFile::permissions(path), perms);
    }

    void entriesThatCannotBeOneLineAreRefusedWithoutTouchingTheFile()
    {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 ProfileFile(path).writeString(QStringLiteral("S"), QStringLiteral("a=b"), QString()));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 ProfileFile(path).writeString(QStringLiteral("S"), QStringLiteral("k"),
                                                               QStringLiteral("a\nb")));
        QVERIFY(!QFile::exists(path));
    }

    // Whatever prefix of a dictionary is on disk (a copy cut short), reading
    // it does not fail, and writing one entry into it makes that entry
    // readable while every entry readable before keeps its value.
    void everyPrefixOfAFileTakesAWrite()
    {
        const QByteArray full = toCp1251(QStringLiteral("[Eng]\r\nФайл=File\r\n  Выход = \"Exit \"\r\n\r\n[Rus]\nFile=Файл\n"));
        const QList<QPair<QString, QString>> probes = {
            {QStringLiteral("Eng"), QStringLiteral("Файл")},
            {QStringLiteral("Eng"), QStringLiteral("Выход")},
            {QStringLiteral("Rus"), QStringLiteral("File")},
        };
        const ProfileFile file(path);
        for (qsizetype n = 0; n < full.size(); ++n) {
            writeFileBytes(path, full.left(n));
            QList<QString> before;
            for (const auto &p : probes)
                before << file.readString(p.first, p.second);
            file.writeString(QStringLiteral("Rus"), QStringLiteral("Exit"), QStringLiteral("Выход"));
            QCOMPARE(file.readString(QStringLiteral("Rus"), QStringLiteral("Exit")), QStringLiteral("Выход"));
            for (int i = 0; i < probes.size(); ++i)
                QCOMPARE(file.readString(probes[i].first, probes[i].second), before[i]);
        }
    }
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "test_translation_profile_file.moc"
