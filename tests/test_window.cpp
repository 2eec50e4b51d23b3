#include "app/command_line.h"
#include "app/main_window.h"
#include "file_bytes.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

AppOptions optionsIn(const QString &dir)
{
    AppOptions o;
    o.workDir = dir;
    o.includeSystemPorts = false;
    o.intervals = TimerIntervals().scaled(100);
    return o;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithCaptionMenuAndStatusBar()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        MainWindow w(optionsIn(dir.path()), boxes);
        QCOMPARE(w.objectName(), QStringLiteral("Form1"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Конфигуратор ЗАРВЕН-4 (вер. 23.05.2016)"));

        QStringList menus;
        // Each caption carries its accelerator mark.
        for (QAction *a : w.menuBar()->actions())
            menus << QString(a->text()).remove(QLatin1Char('&'));
        QCOMPARE(menus, (QStringList{QStringLiteral("Файл"), QStringLiteral("Обмен с устройством"),
                                     QStringLiteral("О программе"), QStringLiteral("Выбор Языка")}));
        auto texts = [](QMenu *m) {
            QStringList out;
            for (QAction *a : m->actions())
                out << (a->isSeparator() ? QStringLiteral("-") : QString(a->text()).remove(QLatin1Char('&')));
            return out;
        };
        QCOMPARE(texts(w.menuFile), (QStringList{QStringLiteral("Загрузить конфигурацию из файла"),
                                                 QStringLiteral("Сохранить конфигурацию в файл"),
                                                 QStringLiteral("Последние файлы"), QStringLiteral("-"),
                                                 QStringLiteral("Печать…"), QStringLiteral("Сохранить PDF…"),
                                                 QStringLiteral("-"),
                                                 QStringLiteral("Сравнить с файлом…"), QStringLiteral("Журнал"),
                                                 QStringLiteral("-"), QStringLiteral("Серия приборов…"),
                                                 QStringLiteral("-"), QStringLiteral("Выход")}));
        QCOMPARE(texts(w.menuExchange),
                 (QStringList{QStringLiteral("Соединить"), QStringLiteral("Подключаться автоматически"),
                              QStringLiteral("Записать параметры"),
                              QStringLiteral("Считать параметры"), QStringLiteral("Сравнить с прибором"),
                              QStringLiteral("Проверять после записи"),
                              QStringLiteral("Показывать изменения перед записью"), QStringLiteral("Программировать ключи"),
                              QStringLiteral("Обновить уровень сигнала"), QStringLiteral("Непрерывно")}));
        // Every exchange has its key, shown in the menu.
        QStringList keys;
        for (QAction *a : {w.connectAction, w.readSettingsAction, w.writeSettingsAction, w.compareAction,
                           w.signalRefreshAction, w.keyProgrammingAction, w.journalAction})
            keys << a->shortcut().toString();
        QCOMPARE(keys, (QStringList{"Ctrl+L", "Ctrl+R", "Ctrl+Shift+W", "Ctrl+D", "F5", "Ctrl+K", "Ctrl+J"}));
        QCOMPARE(texts(w.menuAbout), (QStringList{QStringLiteral("Справка"), QStringLiteral("Проверка системы"),
                                                  QStringLiteral("Сохранить отчёт для поддержки"),
                                                  QStringLiteral("О производителе")}));
        QCOMPARE(texts(w.menuLanguage), (QStringList{QStringLiteral("Русский"), QStringLiteral("Английский")}));
        QVERIFY(w.russianAction->isChecked());
        QVERIFY(!w.englishAction->isChecked());

        // No port listed: no port named.
        QCOMPARE(w.statusPanels[0]->text(), QStringLiteral("Закрыт (Com=)"));
        QCOMPARE(w.statusPanels[1]->text(), QString());
        QCOMPARE(w.statusPanels[2]->text(), QDate::currentDate().toString(QStringLiteral("dd.MM.yy")));
        QVERIFY(!w.statusPanels[3]->text().isEmpty());
        QVERIFY(!w.manufacturerPanel->isVisible() && !w.manufacturerPanel->isEnabled());
        QVERIFY(!w.portList->isVisible());
        QCOMPARE(w.shared.SessionState, int(ssClosed));
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('R'));
        QVERIFY(w.shared.ConnectedPort.isEmpty());
        QVERIFY(!w.shared.UseBackupFile);
        QVERIFY(w.clockTimer->isActive() && w.idleCloseTimer->isActive());
        QVERIFY(!w.scanTimer->isActive() && !w.responseTimer->isActive());
        QVERIFY(boxes.shown().isEmpty());
    }

    void programDirComesFromWorkdirAndPortListFromOptions()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        AppOptions o = optionsIn(dir.path());
        o.extraPorts = {QStringLiteral("/tmp/b"), QStringLiteral("/tmp/A"), QStringLiteral("/tmp/a10")};
        MainWindow w(o, boxes);
        QCOMPARE(w.shared.ProgramDir, QDir::toNativeSeparators(dir.path()));
        QStringList listed;
        for (int i = 0; i < w.portList->count(); ++i)
            listed << w.portList->itemText(i);
        QCOMPARE(listed, (QStringList{QStringLiteral("/tmp/A"), QStringLiteral("/tmp/a10"), QStringLiteral("/tmp/b")}));
    }

    void machineWithoutPortsStartsCompletely()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        MainWindow w(optionsIn(dir.path()), boxes);
        QCOMPARE(w.portList->count(), 0);
        QVERIFY(boxes.shown().isEmpty());
        QVERIFY(!w.shared.ProgramDir.isEmpty());
        QVERIFY(!w.statusPanels[2]->text().isEmpty());
    }

    void clockTickRefreshesTimeAndPortState()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        MainWindow w(optionsIn(dir.path()), boxes);
        w.statusPanels[3]->clear();
        w.statusPanels[0]->clear();
        w.port->setPort(QStringLiteral("/dev/ttyUSB7"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.statusPanels[3]->text().isEmpty(), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(w.statusPanels[0]->text(), QStringLiteral("Закрыт (Com=/dev/ttyUSB7)"), 2000);
    }

    void logIsWrittenAtExitUpToZeroBytes()
    {
        QTemporaryDir dir;
        const QString logPath = dir.filePath(QStringLiteral("log.log"));
        {
            ScriptedMessageBoxes boxes;
            MainWindow w(optionsIn(dir.path()), boxes);
            w.eventLog.add(QStringLiteral("входная строка: ") + QStringLiteral("T6"));
            w.eventLog.add(QByteArray("packet\0tail", 11));
            w.eventLog.add(QByteArray("first\r\nsecond"));
        }
        QCOMPARE(readFileBytes(logPath),
                 QByteArray("\xE2\xF5\xEE\xE4\xED\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0: T6\r\npacket\r\nfirst\r\nsecond\r\n"));
        {
            ScriptedMessageBoxes boxes;
            MainWindow w(optionsIn(dir.path()), boxes);
            w.eventLog.add(QStringLiteral("second run"));
        }
        QCOMPARE(readFileBytes(logPath), QByteArray("second run\r\n"));
    }

    void unwritableLogIsReportedAndDoesNotStopTheExit()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        {
            MainWindow w(optionsIn(dir.filePath(QStringLiteral("missing/folder"))), boxes);
            w.eventLog.add(QStringLiteral("x"));
        }
        QCOMPARE(boxes.texts(BoxKind::Error).size(), 1);
        QVERIFY(boxes.texts(BoxKind::Error).first().contains(QStringLiteral("log.log")));
    }

    void exitAsksAndNoChangesNothing()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        MainWindow w(optionsIn(dir.path()), boxes);
        w.show();
        boxes.queueAnswers({false});
        w.exitAction->trigger();
        QCOMPARE(boxes.texts(BoxKind::Question), QStringList{QStringLiteral("Закрыть приложение?")});
        QVERIFY(w.isVisible());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("log.log"))));
        boxes.queueAnswers({true});
        w.exitAction->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("log.log"))));
    }

    void manufacturerPanelOpensAndCloses()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        MainWindow w(optionsIn(dir.path()), boxes);
        w.show();
        w.manufacturerAction->trigger();
        QVERIFY(w.manufacturerPanel->isVisible() && w.manufacturerPanel->isEnabled());
        auto *image = w.manufacturerPanel->findChild<QLabel *>(QStringLiteral("Image2"));
        QVERIFY(image);
        QCOMPARE(image->pixmap().size(), QSize(601, 185));
        auto *close = w.manufacturerPanel->findChild<QPushButton *>(QStringLiteral("Button1"));
        QCOMPARE(close->text(), QStringLiteral("Закрыть"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!w.manufacturerPanel->isVisible());
    }

    void commandLineOptions()
    {
        auto cl = parseCommandLine({QStringLiteral("--port"), QStringLiteral("/dev/pts/3"), QStringLiteral("--port"),
                                    QStringLiteral("/dev/ttyUSB0"), QStringLiteral("--workdir"), QStringLiteral("/tmp/w")});
        QCOMPARE(cl.action, CommandLine::Action::RunWindow);
        QCOMPARE(cl.options.extraPorts, (QStringList{QStringLiteral("/dev/pts/3"), QStringLiteral("/dev/ttyUSB0")}));
        QCOMPARE(cl.options.workDir, QStringLiteral("/tmp/w"));
        QVERIFY(cl.options.includeSystemPorts);
        QCOMPARE(parseCommandLine({QStringLiteral("--help")}).action, CommandLine::Action::Help);
        QCOMPARE(parseCommandLine({QStringLiteral("--version")}).action, CommandLine::Action::Version);
        QCOMPARE(parseCommandLine({QStringLiteral("--port")}).action, CommandLine::Action::Error);
        QCOMPARE(parseCommandLine({QStringLiteral("--bogus")}).action, CommandLine::Action::Error);
        auto batch = parseCommandLine({QStringLiteral("identify"), QStringLiteral("--port"), QStringLiteral("/dev/x")});
        QCOMPARE(batch.action, CommandLine::Action::Batch);
        QCOMPARE(batch.batchCommand, QStringLiteral("identify"));
        QCOMPARE(batch.options.extraPorts, QStringList{QStringLiteral("/dev/x")});
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
