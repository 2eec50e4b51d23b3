// The window as a desktop user meets it: one language at a time, files
// handled as elsewhere on the desktop, the date and time boxes at start and
// the keyboard.

#include "app/main_window.h"
#include "config_file/config_files.h"
#include "config_file/file_dialogs.h"
#include "editor/phone_panel.h"
#include "editor/settings_panels.h"
#include "file_bytes.h"
#include "formats_fixture.h"
#include "keys/key_programming.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zarven4"),
                     QStringLiteral("zarven4-config"));
}

// Every settings control's value, to see that nothing changed.
QStringList controlValues(MainWindow &w)
{
    QStringList out;
    ControlAccess &c = w.configFiles->controls();
    for (const QString &name : w.panels->controlNames()) {
        if (w.panels->checkBox(name))
            out << name + QLatin1Char('=') + QString::number(c.checked(name));
        else if (w.panels->spinEdit(name) || w.panels->lineEdit(name))
            out << name + QLatin1Char('=') + c.text(name);
    }
    return out;
}

// A window run by the user, remembering its choices in (test) settings.
AppOptions userSessionIn(const QString &dir)
{
    AppOptions o;
    o.workDir = dir;
    o.includeSystemPorts = false;
    o.userSession = true;
    return o;
}

QStringList actionPaths(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << a->data().toString();
    return out;
}

} // namespace

class EverydayWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The user's real settings are never touched.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init() { userSettings().clear(); }

    void englishShowsEveryBoxAndStatusTextInEnglishAndBack()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        w.englishAction->trigger();
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('E'));
        QCOMPARE(w.statusPanels[0]->text(), QStringLiteral("Closed (Com=)"));
        QCOMPARE(w.windowTitle(), QStringLiteral("ZARVEN-4 Configurator (ver. 23.05.2016)"));

        f.boxes.queueAnswers({false});
        w.exitAction->trigger();
        f.dialogs().openNames << f.path(QStringLiteral("missing.cfg"));
        w.loadFileAction->trigger();
        QCOMPARE(f.boxes.texts(), (QStringList{QStringLiteral("Close the application?"), QStringLiteral("File not found")}));

        w.russianAction->trigger();
        QCOMPARE(w.statusPanels[0]->text(), QStringLiteral("Закрыт (Com=)"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Конфигуратор ЗАРВЕН-4 (вер. 23.05.2016)"));
        QCOMPARE(w.menuFile->title(), QStringLiteral("&Файл"));
    }

    // Qt's own texts follow the window: "Да" while it is Russian, "Yes" in
    // English.
    void qtOwnButtonsFollowTheWindowsLanguage()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        AppOptions o = userSessionIn(dir.path());
        MainWindow w(o, boxes);
        auto yesText = [] {
            QMessageBox box;
            box.setStandardButtons(QMessageBox::Yes);
            return box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&'));
        };
        QCOMPARE(yesText(), QStringLiteral("Да"));
        w.englishAction->trigger();
        QCOMPARE(yesText(), QStringLiteral("Yes"));
        w.russianAction->trigger();
    }

    void theWindowStartsInTheLanguageItLastUsed()
    {
        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        AppOptions o = userSessionIn(dir.path());
        {
            MainWindow first(o, boxes);
            QCOMPARE(first.shared.LanguageCode, QLatin1Char('R'));
            first.englishAction->trigger();
        }
        {
            MainWindow second(o, boxes);
            QCOMPARE(second.shared.LanguageCode, QLatin1Char('E'));
            QVERIFY(second.englishAction->isChecked() && !second.russianAction->isChecked());
            QCOMPARE(second.connectButton->text(), QStringLiteral("Connect"));
            second.russianAction->trigger();
        }
        // A window that is not the user's own (a batch run) neither reads nor
        // writes the remembered choice.
        userSettings().setValue(QStringLiteral("language"), QStringLiteral("E"));
        o.userSession = false;
        MainWindow batch(o, boxes);
        QCOMPARE(batch.shared.LanguageCode, QLatin1Char('R'));
    }

    void dateAndTimeBoxesStartReadOnlyWhileAutomatic()
    {
        FormatsWindow f;
        PhonePanel *p = f.form().panels->phonePanel();
        QVERIFY(p->autoDateTimeBox->isChecked());
        QVERIFY(p->timeEdit->isReadOnly() && p->dateEdit->isReadOnly());
    }

    void aSavedNameGetsTheExtensionOnce_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("saved");
        QTest::newRow("bare") << "/d/home" << "/d/home.cfg";
        QTest::newRow("own") << "/d/home.cfg" << "/d/home.cfg";
        QTest::newRow("other") << "/d/home.txt" << "/d/home.txt";
        QTest::newRow("dot") << "/d/home." << "/d/home.cfg";
        QTest::newRow("dotted folder") << "/d.v2/home" << "/d.v2/home.cfg";
        QTest::newRow("cancelled") << "" << "";
    }
    void aSavedNameGetsTheExtensionOnce()
    {
        QFETCH(QString, given);
        QFETCH(QString, saved);
        QCOMPARE(withDefaultExtension(given, QStringLiteral("cfg")), saved);
    }

    // The real dialog: the kind's filter and all files, the last folder, the
    // extension added to a typed name.
    void theSaveDialogOffersTheFilterOpensInTheLastFolderAndAddsTheExtension()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        QString folder = first.path();
        FileKind kind;
        kind.filter = QStringLiteral("Конфигурации ЗАРВЕН-4 (*.cfg)");
        kind.extension = QStringLiteral("cfg");
        kind.lastFolder = [&folder] { return folder; };
        kind.rememberFolder = [&folder](const QString &f) { folder = f; };
        QtFileDialogs dialogs(nullptr, kind);

        QStringList filters;
        QString openedIn;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(d);
            filters = d->nameFilters();
            openedIn = d->directory().absolutePath();
            d->selectFile(second.filePath(QStringLiteral("home")));
            QMetaObject::invokeMethod(d, "accept");
        });
        QCOMPARE(dialogs.saveFileName(), second.filePath(QStringLiteral("home.cfg")));
        QCOMPARE(filters, (QStringList{kind.filter, QStringLiteral("Все файлы (*)")}));
        QCOMPARE(openedIn, first.path());
        QCOMPARE(folder, second.path());

        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(dialogs.openFileName(), QString());
        QCOMPARE(folder, second.path());
    }

    // The key panel's file dialogs: key files and all files, the last folder
    // used for key files, ".key" added to a typed name.
    void theKeyFileDialogsOfferKeyFilesAndRememberTheFolder()
    {
        QTemporaryDir dir;
        QTemporaryDir first;
        QTemporaryDir second;
        ScriptedMessageBoxes boxes;
        MainWindow w(userSessionIn(dir.path()), boxes);
        w.prefs.setLastFolder(QStringLiteral("key"), first.path());
        QStringList filters;
        QString openedIn;
        const auto answer = [&](const QString &name) {
            QTimer::singleShot(0, [&, name] {
                auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(d);
                filters = d->nameFilters();
                openedIn = d->directory().absolutePath();
                d->selectFile(second.filePath(name));
                QMetaObject::invokeMethod(d, "accept");
            });
        };
        answer(QStringLiteral("keys"));
        w.keys->saveKeysToFile();
        QVERIFY(QFileInfo::exists(second.filePath(QStringLiteral("keys.key"))));
        QCOMPARE(filters, (QStringList{QStringLiteral("Ключи ЗАРВЕН-4 (*.key)"), QStringLiteral("Все файлы (*)")}));
        QCOMPARE(openedIn, first.path());

        answer(QStringLiteral("keys.key"));
        w.keys->loadKeysFromFile();
        QCOMPARE(openedIn, second.path());
        QVERIFY(boxes.texts().isEmpty());
    }

    void recentFilesKeepTheLastFiveAndDropAVanishedOne()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        QStringList paths;
        for (int i = 1; i <= 6; ++i) {
            paths.prepend(f.path(QStringLiteral("c%1.cfg").arg(i)));
            f.dialogs().saveNames << paths.first();
            w.saveFileAction->trigger();
        }
        QCOMPARE(actionPaths(w.menuRecent), paths.mid(0, 5));
        QCOMPARE(w.menuRecent->actions().first()->text(), QStringLiteral("&1 ") + paths.first());

        QFile::remove(paths[2]);
        f.boxes.clear();
        w.menuRecent->actions().at(2)->trigger();
        QCOMPARE(f.boxes.texts(), QStringList{QStringLiteral("Файл %1 не найден и убран из списка последних файлов")
                                                  .arg(paths[2])});
        QCOMPARE(actionPaths(w.menuRecent), (QStringList{paths[0], paths[1], paths[3], paths[4]}));

        f.boxes.clear();
        w.menuRecent->actions().at(3)->trigger();
        QVERIFY(f.boxes.texts().isEmpty());
        QCOMPARE(w.currentFile(), paths[4]);
        QCOMPARE(actionPaths(w.menuRecent).first(), paths[4]);
        QCOMPARE(w.statusFile->text(), QStringLiteral("Конфигурация загружена из ") + paths[4]);
    }

    void theTitleShowsTheFileAndUnsavedEditsAreAskedAbout()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        const QString caption = QStringLiteral("Конфигуратор ЗАРВЕН-4 (вер. 23.05.2016)");
        const QString file = f.path(QStringLiteral("home.cfg"));
        f.dialogs().saveNames << file;
        w.saveFileAction->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("home.cfg - ") + caption);
        QCOMPARE(w.statusFile->text(), QStringLiteral("Конфигурация сохранена в ") + file);

        QTest::keyClicks(w.panels->lineEdit(QStringLiteral("Edit1")), QStringLiteral("Door"));
        QVERIFY(w.hasUnsavedEdits());
        QCOMPARE(w.windowTitle(), QStringLiteral("*home.cfg - ") + caption);

        // Loading over the edits: cancel keeps them and asks for no file.
        f.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Cancel});
        w.loadFileAction->trigger();
        QCOMPARE(f.dialogs().openAsked, 0);
        QVERIFY(w.hasUnsavedEdits());
        // Leaving: cancel keeps the window open.
        f.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Cancel});
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        // Save, then load: the edits go to the file first.
        f.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Save});
        f.dialogs().saveNames << f.path(QStringLiteral("edited.cfg"));
        f.dialogs().openNames << file;
        w.loadFileAction->trigger();
        QVERIFY(readText(f.path(QStringLiteral("edited.cfg"))).contains(QStringLiteral("Door")));
        QVERIFY(!w.panels->lineEdit(QStringLiteral("Edit1"))->text().contains(QStringLiteral("Door")));
        QCOMPARE(w.windowTitle(), QStringLiteral("home.cfg - ") + caption);
        QCOMPARE(f.boxes.texts(BoxKind::Question).count(QStringLiteral("Настройки изменены и не сохранены в файл. Сохранить их?")), 3);
        // Discard leaves without saving.
        QTest::keyClicks(w.panels->lineEdit(QStringLiteral("Edit1")), QStringLiteral("x"));
        f.boxes.queueSaveChoices({MessageBoxes::SaveChoice::Discard});
        QVERIFY(w.close());
    }

    void aForeignFileIsRefusedAndTheWindowLeftUntouched()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        const QString picture = f.path(QStringLiteral("photo.cfg"));
        writeFileBytes(picture, QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\r\n1\r\n#A1\r\n #12\r\n", 24));
        const QStringList before = controlValues(w);
        f.dialogs().openNames << picture;
        w.loadFileAction->trigger();
        QCOMPARE(f.boxes.texts(),
                 QStringList{QStringLiteral("Файл не является файлом конфигурации ЗАРВЕН-4: ") + picture});
        QCOMPARE(controlValues(w), before);
        QVERIFY(!QFile::exists(w.configFiles->reportPath()));
        QVERIFY(w.currentFile().isEmpty());
    }

    void shortcutsReachTheMenuAndEscapeClosesThePanel()
    {
        FormatsWindow f;
        MainWindow &w = f.form();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs().openAsked, 1);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.dialogs().saveAsked, 1);
        QCOMPARE(w.helpAction->shortcut(), QKeySequence(QKeySequence::HelpContents));
        w.manufacturerAction->trigger();
        QVERIFY(w.manufacturerPanel->isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.manufacturerPanel->isVisible());
        f.boxes.queueAnswers({false});
        QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(f.boxes.texts().last(), QStringLiteral("Закрыть приложение?"));
    }
};

QTEST_MAIN(EverydayWindowTest)
#include "test_window_everyday.moc"
