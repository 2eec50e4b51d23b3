// Saving and loading configuration files from the "Файл" menu: file choice,
// the overwrite question, the backup mode, the rules run after a load, the
// load report, and saves that fail.

#include "config_file/config_files.h"
#include "config_file/config_writer.h"
#include "core/cp1251.h"
#include "editor/settings_panels.h"
#include "file_bytes.h"
#include "formats_fixture.h"
#include "settings/image_encoder.h"

#include <QAction>
#include <QDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace zarven;
using namespace zarven::test;

namespace {

const QString kOverwrite = QStringLiteral("Файл с таким именем существует.  Заменить?");

QByteArray state(FormatsWindow &w)
{
    const QByteArray file = encodeConfiguration(w.controls(), SessionStamp{});
    return file + encodeWriteStream(w.controls(), w.form().shared);
}

QStringList reportLines(FormatsWindow &w)
{
    QStringList out;
    for (const QByteArray &l : readFileBytes(w.path(QStringLiteral("LoadFile.rep"))).split('\n'))
        out << fromCp1251(l).chopped(l.endsWith('\r') ? 1 : 0);
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

// Limits the size of files this process writes, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

class ConfigFileOperationsTest : public QObject {
    Q_OBJECT
private slots:
    void cancelledDialogsShowTheirMessages()
    {
        FormatsWindow w;
        w.form().saveFileAction->trigger();
        w.form().loadFileAction->trigger();
        QCOMPARE(w.dialogs().saveAsked, 1);
        QCOMPARE(w.dialogs().openAsked, 1);
        QCOMPARE(w.boxes.texts(BoxKind::Plain),
                 (QStringList{QStringLiteral("Не задано имя файла"), QStringLiteral("Файл не найден")}));
    }

    void messagesFollowTheWindowLanguage()
    {
        FormatsWindow w;
        w.form().shared.LanguageCode = QLatin1Char('E');
        w.form().saveFileAction->trigger();
        w.dialogs().openNames << w.path(QStringLiteral("missing.cfg"));
        w.form().loadFileAction->trigger();
        w.dialogs().openNames << w.dir.path();
        w.form().loadFileAction->trigger();
        QCOMPARE(w.boxes.texts(BoxKind::Plain),
                 (QStringList{QStringLiteral("No file name given"), QStringLiteral("File not found"),
                              QStringLiteral("Error reading the file")}));
    }

    void saveAndLoadThroughTheMenuRestoreTheSettings()
    {
        FormatsWindow source;
        applyRichState(source.controls());
        const QString file = source.path(QStringLiteral("rich.cfg"));
        source.dialogs().saveNames << file;
        source.form().saveFileAction->trigger();
        QVERIFY(source.boxes.shown().isEmpty());

        FormatsWindow target;
        target.controls().setText(QStringLiteral("Edit3"), QStringLiteral("скрыто"));
        target.dialogs().openNames << file;
        // The code's change counts as an unsaved edit: the load asks first.
        target.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Discard});
        target.form().loadFileAction->trigger();
        QCOMPARE(target.boxes.texts(BoxKind::Plain), QStringList());
        QCOMPARE(state(target), state(source));
    }

    void overwriteQuestion_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("No keeps the file") << false;
        QTest::newRow("Yes replaces it") << true;
    }
    void overwriteQuestion()
    {
        QFETCH(bool, answer);
        FormatsWindow w;
        const QString file = w.path(QStringLiteral("old.cfg"));
        writeFileBytes(file, "earlier");
        w.boxes.queueAnswers({answer});
        w.dialogs().saveNames << file;
        w.form().saveFileAction->trigger();
        QCOMPARE(w.boxes.texts(BoxKind::Question), QStringList{kOverwrite});
        QCOMPARE(readFileBytes(file).startsWith("#01\r\n"), answer);
        if (!answer)
            QCOMPARE(readFileBytes(file), QByteArray("earlier"));
    }

    void backupModeNeedsNoDialogAndClearsTheFlag()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        const QString backup = w.path(QStringLiteral("save.000"));
        writeFileBytes(backup, "earlier backup");
        w.form().shared.UseBackupFile = true;
        w.form().saveFileAction->trigger();
        QVERIFY(!w.form().shared.UseBackupFile);
        QCOMPARE(w.dialogs().saveAsked, 0);
        QVERIFY(w.boxes.shown().isEmpty());
        QVERIFY(readFileBytes(backup).startsWith("#01\r\n"));
        // The next save asks for a name again.
        w.form().saveFileAction->trigger();
        QCOMPARE(w.dialogs().saveAsked, 1);

        // The restore: the backup loads without a dialog.
        FormatsWindow other;
        QFile::copy(backup, other.path(QStringLiteral("save.000")));
        other.controls().setText(QStringLiteral("Edit3"), QStringLiteral("скрыто"));
        other.form().shared.UseBackupFile = true;
        other.form().loadFileAction->trigger();
        QVERIFY(!other.form().shared.UseBackupFile);
        QCOMPARE(other.dialogs().openAsked, 0);
        QCOMPARE(state(other), state(w));
    }

    void backupPickedInTheDialogIsReplacedWithoutQuestion()
    {
        FormatsWindow w;
        writeFileBytes(w.path(QStringLiteral("save.000")), "earlier");
        writeFileBytes(w.path(QStringLiteral("SAVE.000")), "other");
        w.boxes.setDefaultAnswer(false);
        w.dialogs().saveNames << w.path(QStringLiteral("save.000")) << w.path(QStringLiteral("SAVE.000"));
        w.form().saveFileAction->trigger();
        QVERIFY(w.boxes.shown().isEmpty());
        QVERIFY(readFileBytes(w.path(QStringLiteral("save.000"))).startsWith("#01\r\n"));
        // The same path in another letter case is another name.
        w.form().saveFileAction->trigger();
        QCOMPARE(w.boxes.texts(BoxKind::Question), QStringList{kOverwrite});
        QCOMPARE(readFileBytes(w.path(QStringLiteral("SAVE.000"))), QByteArray("other"));
    }

    void loadOfAFileWithoutRecordsRunsTheRulesOfAllFourInputsAndReports()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        // Input 4's rule ticks its hidden use-outputs box, which only a test
        // can clear while the input is active.
        w.controls().setChecked(QStringLiteral("CheckBox_41"), true);
        const QByteArray before = state(w);
        const QString file = w.path(QStringLiteral("empty.cfg"));
        // One whole record, of a number the window does not know.
        writeFileBytes(file, "just text\r\n#99\r\n//#99\r\n@message\r\n");
        QStringList ran;
        w.controls().panels().rules().onRule = [&ran](const QString &handler) { ran << handler; };
        w.dialogs().openNames << file;
        w.form().loadFileAction->trigger();
        QCOMPARE(state(w), before);
        // The rules in order; the rules of the active inputs run their
        // use-outputs rules in turn.
        const QStringList rules{"CheckBox_in1Click", "CheckBox_in2Click", "CheckBox_in3Click", "CheckBox_in4Click",
                                "CheckBox_td1Click", "CheckBox_11Click",  "CheckBox_21Click",  "CheckBox_31Click",
                                "CheckBox_41Click",  "CheckBox_td11Click", "CheckBox_td21Click", "CheckBox_td2Click"};
        QStringList top;
        for (const QString &r : ran) {
            if (rules.contains(r))
                top << r;
        }
        QCOMPARE(top, (QStringList{"CheckBox_in1Click", "CheckBox_11Click", "CheckBox_in2Click", "CheckBox_21Click",
                                   "CheckBox_in3Click", "CheckBox_in4Click", "CheckBox_41Click",
                                   "CheckBox_11Click", "CheckBox_21Click", "CheckBox_31Click", "CheckBox_41Click",
                                   "CheckBox_td11Click", "CheckBox_td1Click", "CheckBox_td21Click", "CheckBox_td2Click"}));
        const QStringList report = reportLines(w);
        QCOMPARE(report.size(), 1);
        static const QRegularExpression sessionLine(QStringLiteral("^Время сеанса: .+_.+$"));
        QVERIFY2(sessionLine.match(report.last()).hasMatch(), qPrintable(report.last()));
    }

    void reportHoldsTheWholeLogOfEveryLoad()
    {
        FormatsWindow w;
        w.form().eventLog.add(QStringLiteral("входная строка: OK"));
        const QString file = w.path(QStringLiteral("bad.cfg"));
        writeFileBytes(file, cp1251Lines({"#20", "Q", "//#20", "#21", "1x", "//#21"}));
        w.dialogs().openNames << file << file;
        w.form().loadFileAction->trigger();
        w.form().loadFileAction->trigger();
        const QStringList report = reportLines(w);
        QCOMPARE(report.size(), 1 + 2 * 5);
        QCOMPARE(report.mid(0, 5),
                 (QStringList{"входная строка: OK", "#20 - Ошибка формата", "Код Активации =Q",
                              "#21 - Ошибка формата передаваемых данных", "На входе =x"}));
        QCOMPARE(report.mid(6, 4), report.mid(1, 4));
        QVERIFY(report.at(5).startsWith(QStringLiteral("Время сеанса: ")));
        QVERIFY(report.at(10).startsWith(QStringLiteral("Время сеанса: ")));
        QCOMPARE(readFileBytes(w.path(QStringLiteral("LoadFile.rep"))), w.form().eventLog.fileContent());
    }

    void conversionErrorEndsTheLoadWithoutRulesOrReport()
    {
        FormatsWindow w;
        const QString file = w.path(QStringLiteral("broken.cfg"));
        writeFileBytes(file, cp1251Lines({"#40", "1", "//#40", "#x", "#41", "0"}));
        QStringList ran;
        w.controls().panels().rules().onRule = [&ran](const QString &handler) { ran << handler; };
        w.dialogs().openNames << file;
        w.form().loadFileAction->trigger();
        QCOMPARE(w.boxes.texts(BoxKind::Error), QStringList{QStringLiteral("'x' is not a valid integer value.")});
        QVERIFY(w.controls().checked(QStringLiteral("CheckBox_SMS_All")));
        QVERIFY(w.controls().checked(QStringLiteral("CB_Ctrl_Volt")));
        QVERIFY(!ran.contains(QStringLiteral("CheckBox_in1Click")));
        QVERIFY(!QFile::exists(w.path(QStringLiteral("LoadFile.rep"))));
        QVERIFY(w.log().isEmpty());
    }

    void failingSaveLeavesTheEarlierFileIntact()
    {
        FormatsWindow w;
        applyRichState(w.controls());
        const QString file = w.path(QStringLiteral("kept.cfg"));
        writeFileBytes(file, "earlier content");
        w.dialogs().saveNames << file;
        {
            // Room for a few lines only, as on a full disk.
            FileSizeLimit limit(64);
            w.form().saveFileAction->trigger();
        }
        QCOMPARE(w.boxes.texts(BoxKind::Question), QStringList{kOverwrite});
        QCOMPARE(w.boxes.texts(BoxKind::Error).size(), 1);
        QVERIFY2(w.boxes.texts(BoxKind::Error).first().contains(file), qPrintable(w.boxes.texts(BoxKind::Error).first()));
        QCOMPARE(readFileBytes(file), QByteArray("earlier content"));
        // No half-written file is left beside it.
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files).filter(QStringLiteral("kept")), QStringList{"kept.cfg"});
    }

    void saveIntoAMissingFolderReportsTheError()
    {
        FormatsWindow w;
        w.dialogs().saveNames << w.path(QStringLiteral("no/such/folder.cfg"));
        w.form().saveFileAction->trigger();
        QCOMPARE(w.boxes.texts(BoxKind::Error).size(), 1);
        QVERIFY(!QFile::exists(w.path(QStringLiteral("no/such/folder.cfg"))));
    }
};

QTEST_MAIN(ConfigFileOperationsTest)
#include "test_config_file_operations.moc"
