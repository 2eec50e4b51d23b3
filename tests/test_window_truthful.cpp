// What the window shows and asks tells the installer the truth: the port
// panel names a port the machine has, the title says when the window shows
// the controller, a missing connection says how to get one, another program
// on the port is named, foreign files are refused, a load's report is a
// click away, the key grid marks codes that will not do, and leaving asks
// one question. Against the simulator where a controller takes part.

#include "exchange_fixture.h"
#include "file_bytes.h"
#include "formats_fixture.h"
#include "sim_process.h"

#include "config_file/config_files.h"
#include "editor/settings_panels.h"
#include "keys/key_panel.h"
#include "keys/key_programming.h"
#include "settings/settings_read.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

class WindowTruthTest : public QObject {
    Q_OBJECT
private slots:
    void connectReadAndSaveAgainstTheSimulator()
    {
        SimProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorText()));
        ExchangeFixture f({sim.devicePath()});
        MainWindow &w = f.form();
        const QString caption = w.windowTitle();
        QCOMPARE(w.statusPanels[0]->text(), QStringLiteral("Закрыт (Com=%1)").arg(sim.devicePath()));

        // Before "Соединить": the no-connection message says what to do.
        QTest::mouseClick(w.readSettingsButton, Qt::LeftButton);
        QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("Нет соединения с устройством. Проверьте подключение\r\n"
                                                             "Нажмите «Соединить», чтобы найти прибор.")});

        // Another program holding the port open is named, although the
        // controller answers.
        QProcess holder;
        holder.setStandardInputFile(sim.devicePath());
        holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        f.boxes.clear();
        w.connectAction->trigger();
        QTRY_VERIFY(!w.shared.ConnectedPort.isEmpty());
        const QString warning = QStringLiteral("Внимание: порт %1 открыт также программой sleep (PID %2). Она может "
                                               "мешать обмену; закройте её.")
                                    .arg(sim.devicePath())
                                    .arg(holder.processId());
        QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("соединение установлено.\r\n") + warning});
        QCOMPARE(w.statusWarning->text(), warning);
        QVERIFY(w.statusWarning->isVisibleTo(&w));
        holder.kill();
        holder.waitForFinished();

        // After a read the title names the controller, until a save.
        QSignalSpy read(w.settingsRead, &SettingsRead::readFinished);
        QTest::mouseClick(w.readSettingsButton, Qt::LeftButton);
        QTRY_COMPARE(read.size(), 1);
        QVERIFY(w.windowTitle().contains(
            QStringLiteral("прибор %1, прочитан ").arg(sim.devicePath()) + QTime::currentTime().toString(QStringLiteral("HH:"))));
        QVERIFY(w.windowTitle().endsWith(QStringLiteral(" - ") + caption));
        auto dialogs = std::make_unique<ScriptedFileDialogs>();
        dialogs->saveNames << f.dir.filePath(QStringLiteral("site.cfg"));
        w.configFiles->setFileDialogs(std::move(dialogs));
        w.saveFileAction->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("site.cfg - ") + caption);
    }

    void foreignFilesAreRefusedAndReportEntriesLinked_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<int>("entries");
        QTest::newRow("key file") << QByteArray("#1\r\nDoor\r\n0102030405060708\r\n/1\r\n#10\r\n\r\n\r\n/10\r\n")
                                  << false << 0;
        QTest::newRow("header without trailer") << QByteArray("#40\r\n1\r\n") << false << 0;
        QTest::newRow("trailer of another record") << QByteArray("#40\r\n1\r\n//#41\r\n") << false << 0;
        QTest::newRow("one whole record") << QByteArray("#40\r\n1\r\n//#40\r\n") << true << 0;
        QTest::newRow("invalid level") << QByteArray("#01\r\nA\r\n7\r\n1\r\n0\r\n") + QByteArray("\0\0\r\n", 4).repeated(4) + "//#01\r\n"
                                       << true << 1;
    }

    void foreignFilesAreRefusedAndReportEntriesLinked()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(int, entries);
        FormatsWindow f;
        MainWindow &w = f.form();
        const QString file = f.path(QStringLiteral("some.cfg"));
        writeFileBytes(file, content);
        f.dialogs().openNames << file;
        w.loadFileAction->trigger();
        QCOMPARE(f.boxes.texts(),
                 loads ? QStringList() : QStringList{QStringLiteral("Файл не является файлом конфигурации ЗАРВЕН-4: ") + file});
        QCOMPARE(w.statusReport->isVisibleTo(&w), entries > 0);
        if (entries == 0)
            return;
        QVERIFY(w.statusReport->text().contains(QStringLiteral("Отчёт загрузки: замечаний %1").arg(entries)));
        emit w.statusReport->linkActivated(QStringLiteral("report"));
        auto *text = w.loadReportWindow->findChild<QPlainTextEdit *>(QStringLiteral("loadReportText"));
        QVERIFY(text->toPlainText().contains(QStringLiteral("#1Уровень Активации :=7")));
    }

    void keyGridMarksCodesAndWarnsBeforeSaving()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        KeyPanel &panel = *w.keyPanel;
        KeyRows rows;
        rows[0] = {QStringLiteral("Door"), QStringLiteral("0102030405060708")};
        rows[1] = {QStringLiteral("Gate"), QStringLiteral("01020304")};
        rows[2] = {QStringLiteral("Copy"), QStringLiteral("0102030405060708")};
        panel.setRows(rows);
        QCOMPARE(panel.codeMark(1), QStringLiteral("этот код уже в строке 3"));
        QCOMPARE(panel.codeMark(2), QStringLiteral("код ключа - это 16 шестнадцатеричных цифр 0-9, A-F"));
        QCOMPARE(panel.codeMark(3), QStringLiteral("этот код уже в строке 1"));
        QCOMPARE(panel.codeMark(4), QString());

        // Typing shows the characters left, codes in upper case.
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        panel.keyFrame->setVisible(true);
        panel.keyFrame->setEnabled(true);
        panel.keyGrid->setCurrentCell(4, 2);
        panel.keyGrid->editItem(panel.keyGrid->item(4, 2));
        auto *editor = panel.keyGrid->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("ab12"));
        QCOMPARE(editor->text(), QStringLiteral("AB12"));
        QVERIFY(panel.keyHelp->text().contains(QStringLiteral("осталось 12.")));
        // Escape leaves the editor, then the mode.
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(panel.keyFrame->isVisible());
        QTest::keyClick(panel.keyGrid, Qt::Key_Escape);
        QVERIFY(!panel.keyFrame->isVisible());
        f.boxes.clear();

        // Saving such codes asks first; Cancel writes nothing.
        f.boxes.queueChoices({1});
        w.keys->saveKeysToFile();
        QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("Коды ключей в строках 2 - не 16 шестнадцатеричных цифр; "
                                                             "прибор такие коды не примет.\nСохранить всё равно\nОтмена")});
        QCOMPARE(f.dialogs().saveAsked, 0);
    }

    void leavingAsksOneQuestion()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        w.show();
        QTest::keyClicks(w.panels->lineEdit(QStringLiteral("Edit1")), QStringLiteral("x"));
        f.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Cancel});
        w.exitAction->trigger();
        QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("Настройки изменены и не сохранены в файл. Сохранить их?")});
        QVERIFY(w.isVisible());
        f.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Discard});
        w.exitAction->trigger();
        QCOMPARE(f.boxes.texts().size(), 2);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(WindowTruthTest)
#include "test_window_truthful.moc"
