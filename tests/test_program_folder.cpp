// Where the tool keeps its files: the per-user data folder by default, made
// on first start and given the shipped dictionary; --workdir instead when
// named; never the folder the tool was started in.

#include "app/main_window.h"
#include "app/program_folder.h"
#include "file_bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class ProgramFolderTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home_;
    QTemporaryDir startDir_;
    QString userFolder() const { return home_.filePath(QStringLiteral(".local/share/zarven4-config")); }

    void runWindow(const QString &workDir)
    {
        AppOptions o;
        o.workDir = workDir;
        o.includeSystemPorts = false;
        ScriptedMessageBoxes boxes;
        {
            MainWindow w(o, boxes);
            QCOMPARE(w.shared.ProgramDir, workDir.isEmpty() ? userFolder() : workDir);
        }
        QVERIFY2(boxes.shown().isEmpty(), qPrintable(boxes.texts().join(QLatin1Char('\n'))));
    }

private slots:
    void init()
    {
        qputenv("HOME", QFile::encodeName(home_.path()));
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_DATA_DIRS");
        QDir(userFolder()).removeRecursively();
        QVERIFY(QDir::setCurrent(startDir_.path()));
    }

    void defaultFolderIsPerUserAndMadeOnFirstStart()
    {
        runWindow(QString());
        // The shipped dictionary of the source tree, copied; the log beside it.
        QCOMPARE(readFileBytes(userFolder() + QStringLiteral("/trans.dic")),
                 readFileBytes(QStringLiteral(ZARVEN_TEST_DATA "/../../data/trans.dic")));
        QVERIFY(QFile::exists(userFolder() + QStringLiteral("/log.log")));
        QVERIFY(QDir(startDir_.path()).isEmpty());
    }

    void workdirOverridesTheDefault()
    {
        QTemporaryDir work;
        runWindow(work.path());
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("trans.dic"))));
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("log.log"))));
        QVERIFY(!QFileInfo::exists(userFolder()));
        QVERIFY(QDir(startDir_.path()).isEmpty());
    }

    // An installed dictionary in a system data folder comes before the
    // source tree's, and a dictionary the user already has is kept.
    void dictionaryComesFromTheSystemDataFolderOnce()
    {
        QTemporaryDir system;
        QVERIFY(QDir().mkpath(system.filePath(QStringLiteral("zarven4-config"))));
        writeFileBytes(system.filePath(QStringLiteral("zarven4-config/trans.dic")), "[Rus1]\r\n");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system.path()));
        runWindow(QString());
        const QString copy = userFolder() + QStringLiteral("/trans.dic");
        QCOMPARE(readFileBytes(copy), QByteArray("[Rus1]\r\n"));
        QVERIFY(QFileInfo(copy).isWritable());
        writeFileBytes(copy, "[Eng1]\r\n");
        runWindow(QString());
        QCOMPARE(readFileBytes(copy), QByteArray("[Eng1]\r\n"));
    }
};

QTEST_MAIN(ProgramFolderTest)
#include "test_program_folder.moc"
