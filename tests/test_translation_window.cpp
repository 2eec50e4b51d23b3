// The language menu of the main window and the dictionary shipped with the
// program.

#include "app/main_window.h"
#include "core/application_title.h"
#include "core/cp1251.h"
#include "core/errors.h"
#include "core/message_boxes.h"
#include "exchange/device_exchange.h"
#include "file_bytes.h"
#include "translate/shipped_dictionary.h"
#include "translate/translation.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace zarven;
using namespace zarven::test;

namespace {

const QString kAppTitle = QStringLiteral("Зарвен-4");

bool insideStatusBar(const QObject *o)
{
    for (; o != nullptr; o = o->parent()) {
        if (qobject_cast<const QStatusBar *>(o))
            return true;
    }
    return false;
}

// Every caption-like text the window shows, each with the object it belongs
// to, collected independently of the translation walk. Status bar panels,
// the contents of boxes, the port list and the signal reading are not
// captions.
using Captions = QList<QPair<QString, QString>>;

QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

Captions captions(const QWidget &window)
{
    Captions out;
    auto add = [&out](const QObject *o, const QString &what, const QString &text) {
        out.append({o->metaObject()->className() + QLatin1Char(' ') + o->objectName() + QLatin1Char(' ') + what,
                    text});
    };
    add(&window, QStringLiteral("caption"), window.windowTitle());
    add(&window, QStringLiteral("application title"), applicationTitle());
    for (const QObject *o : window.findChildren<QObject *>()) {
        if (insideStatusBar(o) || (o->parent() && qobject_cast<const QAbstractSpinBox *>(o->parent()))
            || o->objectName() == QLatin1String("ComboBox1") || o->objectName() == QLatin1String("Label_Signal")
            || o->property("zarvenKeepOutOfTranslation").toBool())
            continue;
        if (auto *a = qobject_cast<const QAction *>(o); a && !a->isSeparator())
            add(o, QStringLiteral("text"), a->text());
        else if (auto *m = qobject_cast<const QMenu *>(o))
            add(o, QStringLiteral("title"), m->title());
        else if (auto *b = qobject_cast<const QAbstractButton *>(o))
            add(o, QStringLiteral("text"), b->text());
        else if (auto *g = qobject_cast<const QGroupBox *>(o))
            add(o, QStringLiteral("title"), g->title());
        else if (auto *l = qobject_cast<const QLabel *>(o))
            add(o, QStringLiteral("text"), l->text());
        else if (auto *c = qobject_cast<const QComboBox *>(o)) {
            for (int i = 0; i < c->count(); ++i)
                add(o, QStringLiteral("entry %1").arg(i), c->itemText(i));
        } else if (qobject_cast<const QLineEdit *>(o) || qobject_cast<const QPlainTextEdit *>(o))
            add(o, QStringLiteral("tool-tip"), static_cast<const QWidget *>(o)->toolTip());
    }
    return out;
}

// The lines a run added to the dictionary: the texts it missed.
QStringList addedLines(const QByteArray &before, const QByteArray &after)
{
    const QStringList old = fromCp1251(before).split(QStringLiteral("\r\n"));
    QStringList added;
    for (const QString &line : fromCp1251(after).split(QStringLiteral("\r\n"))) {
        if (!old.contains(line))
            added << line;
    }
    return added;
}

const QRegularExpression kCyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));

} // namespace

class WindowLanguageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> dir;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<MainWindow> window;
    QString path;

    MainWindow &openWindow(const QStringList &ports = {})
    {
        AppOptions options;
        options.includeSystemPorts = false;
        options.extraPorts = ports;
        options.workDir = dir->path();
        window = std::make_unique<MainWindow>(options, boxes);
        return *window;
    }

    QByteArray shipped() const { return shippedDictionary(); }

private slots:
    void init()
    {
        setApplicationTitle(kAppTitle);
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        path = dir->filePath(QStringLiteral("trans.dic"));
        boxes.clear();
    }

    void cleanup()
    {
        window.reset();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        dir.reset();
    }

    void startUpCopiesTheShippedDictionaryWhenThereIsNone()
    {
        MainWindow &w = openWindow();
        QCOMPARE(dictionaryPath(w.shared), path);
        QVERIFY(!shipped().isEmpty());
        QCOMPARE(readFileBytes(path), shipped());
        QVERIFY(QFile::permissions(path) & QFile::WriteOwner);
        QVERIFY(boxes.shown().isEmpty());
    }

    void startUpNeverReplacesAnExistingDictionary()
    {
        const QByteArray own = toCp1251(QStringLiteral("[Eng]\r\nФайл=FILE\r\n"));
        writeFileBytes(path, own);
        openWindow();
        QCOMPARE(readFileBytes(path), own);
        writeFileBytes(path, QByteArray());
        window.reset();
        openWindow();
        QCOMPARE(readFileBytes(path), QByteArray());
    }

    // The whole window in English and back: every caption is English, the
    // designed Russian comes back exactly, and the shipped dictionary misses
    // nothing (a miss would be written back into it).
    void englishAndBackRestoresTheDesignedWindowWithoutAMiss()
    {
        MainWindow &w = openWindow();
        const Captions russian = captions(w);
        const QByteArray before = readFileBytes(path);

        w.englishAction->trigger();
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('E'));
        const QStringList missedInEng = addedLines(before, readFileBytes(path));
        if (!missedInEng.isEmpty())
            QFAIL(qPrintable(QStringLiteral("texts missing in [Eng]:\n") + missedInEng.join(QLatin1Char('\n'))));
        const Captions english = captions(w);
        QCOMPARE(english.size(), russian.size());
        for (const auto &caption : english) {
            if (caption.second.contains(kCyrillic))
                QFAIL(qPrintable(QStringLiteral("still Russian: ") + caption.first + QStringLiteral(": ") + caption.second));
        }
        QVERIFY(w.englishAction->isChecked());
        QVERIFY(!w.russianAction->isChecked());
        QCOMPARE(w.windowTitle(), QStringLiteral("ZARVEN-4 Configurator (ver. 23.05.2016)"));
        QCOMPARE(applicationTitle(), QStringLiteral("Zarven-4"));
        QCOMPARE(w.connectButton->text(), QStringLiteral("Connect"));
        QCOMPARE(w.menuLanguage->title(), QStringLiteral("&Language"));

        w.russianAction->trigger();
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('R'));
        const QStringList missedInRus = addedLines(before, readFileBytes(path));
        if (!missedInRus.isEmpty())
            QFAIL(qPrintable(QStringLiteral("texts missing in [Rus]:\n") + missedInRus.join(QLatin1Char('\n'))));
        // A dictionary value cannot end with a blank (the profile format
        // trims values), so a designed trailing blank ("Сохранить ") comes
        // back without it.
        const Captions back = captions(w);
        for (int i = 0; i < russian.size(); ++i) {
            QCOMPARE(back[i].first, russian[i].first);
            QCOMPARE(back[i].second, withoutTrailingBlanks(russian[i].second));
        }
        QVERIFY(w.russianAction->isChecked());
        QVERIFY(!w.englishAction->isChecked());
        QVERIFY(boxes.shown().isEmpty());
    }

    // Texts the window shows only after an exchange (the connected caption of
    // the connect button, the failed readings of the signal label) are in the
    // dictionary as well, so a switch after a connection misses nothing.
    void runTimeCaptionsAreTranslatedWithoutAMiss()
    {
        MainWindow &w = openWindow();
        w.connectButton->setText(QStringLiteral("Соединен"));
        const QByteArray before = readFileBytes(path);

        w.englishAction->trigger();
        QCOMPARE(w.connectButton->text(), QStringLiteral("Connected"));
        w.russianAction->trigger();
        QCOMPARE(w.connectButton->text(), QStringLiteral("Соединен"));
        QCOMPARE(addedLines(before, readFileBytes(path)), QStringList());
    }

    // The port list holds device paths and the signal label a reading: no
    // captions. A switch leaves them as they are and writes nothing of them
    // into the dictionary.
    void portPathsAndReadingsStayOutOfTheTranslation()
    {
        MainWindow &w = openWindow({QStringLiteral("/dev/ttyZ0")});
        w.signalLabel->setText(QStringLiteral("-79 dBm"));
        const QByteArray before = readFileBytes(path);
        for (QAction *language : {w.englishAction, w.russianAction}) {
            language->trigger();
            QCOMPARE(w.portList->itemText(0), QStringLiteral("/dev/ttyZ0"));
            QCOMPARE(w.signalLabel->text(), QStringLiteral("-79 dBm"));
        }
        QCOMPARE(addedLines(before, readFileBytes(path)), QStringList());
    }

    // The captions an exchange sets (the connect button, a failed signal
    // reading) follow the language the window is in.
    void theScanSetsTheConnectCaptionInTheWindowsLanguage()
    {
        MainWindow &w = openWindow();
        w.englishAction->trigger();
        w.connectAction->trigger();
        QCOMPARE(w.connectButton->text(), QStringLiteral("Connect"));
        w.exchange->scan.identificationReply(QByteArrayLiteral("T6 1.0"));
        QCOMPARE(w.connectButton->text(), QStringLiteral("Connected"));
        w.exchange->signalLevel.signalReply(QByteArrayLiteral("+CSQ: 99,99"));
        QCOMPARE(w.signalLabel->text(), QStringLiteral("no network"));
    }

    void theUserSwitchesWithTheMouse()
    {
        MainWindow &w = openWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto choose = [&w](QAction *item) {
            QMenuBar *bar = w.menuBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w.menuLanguage->menuAction()).center());
            QTRY_VERIFY(w.menuLanguage->isVisible());
            QTest::mouseClick(w.menuLanguage, Qt::LeftButton, {}, w.menuLanguage->actionGeometry(item).center());
            QTRY_VERIFY(!w.menuLanguage->isVisible());
        };
        choose(w.englishAction);
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('E'));
        QCOMPARE(w.menuLanguage->title(), QStringLiteral("&Language"));
        QCOMPARE(w.russianAction->text(), QStringLiteral("Russian"));
        choose(w.englishAction);
        QVERIFY(w.englishAction->isChecked());
        QVERIFY(!w.russianAction->isChecked());
        choose(w.russianAction);
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('R'));
        QCOMPARE(w.menuLanguage->title(), QStringLiteral("Выбор &Языка"));
        QVERIFY(w.russianAction->isChecked());
        QVERIFY(!w.englishAction->isChecked());
    }

    void messagesFollowTheLanguageMenu()
    {
        MainWindow &w = openWindow();
        const QString message = QStringLiteral("Ошибка связи(нет ответа). Проверьте подключено ли устройство.");
        QCOMPARE(messageInCurrentLanguage(w.shared, boxes, message), message);
        w.englishAction->trigger();
        QCOMPARE(messageInCurrentLanguage(w.shared, boxes, message),
                 QStringLiteral("Communication error (no answer). Check that the device is connected."));
        w.russianAction->trigger();
        QCOMPARE(messageInCurrentLanguage(w.shared, boxes, message), message);
    }

    // Clicking the item of the language already shown neither reads nor
    // writes the dictionary: no "No exists" for a missing one, no file made,
    // and the tick stays where it was.
    void choosingTheShownLanguageAgainDoesNothing()
    {
        MainWindow &w = openWindow();
        QVERIFY(QFile::remove(path));
        w.russianAction->trigger();
        QVERIFY(boxes.shown().isEmpty());
        QVERIFY(!QFile::exists(path));
        QVERIFY(w.russianAction->isChecked());
        QVERIFY(!w.englishAction->isChecked());
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('R'));

        writeFileBytes(path, shipped());
        w.englishAction->trigger();
        const QByteArray english = readFileBytes(path);
        w.englishAction->trigger();
        QCOMPARE(readFileBytes(path), english);
        QVERIFY(w.englishAction->isChecked());
        QVERIFY(!w.russianAction->isChecked());
    }

    // Without a dictionary: "No exists" and the path once, the texts stay
    // Russian, and the file is created with a section "Eng" that lists every
    // caption-like text of the window with an empty value. Switching back
    // collects the same texts in "Rus", where they are missing as well.
    void aMissingDictionaryCollectsTheWindowsTexts()
    {
        MainWindow &w = openWindow();
        QVERIFY(QFile::remove(path));
        const Captions russian = captions(w);

        w.englishAction->trigger();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("No exists") + path});
        QCOMPARE(captions(w), russian);
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('E'));

        QStringList expected;
        for (const auto &caption : russian) {
            QString key = withoutTrailingBlanks(caption.second);
            key.remove(QLatin1Char('&'));
            key += QLatin1Char('=');
            if (key.size() > 1 && !expected.contains(key))
                expected << key;
        }
        const QString eng = QStringLiteral("[Eng]\r\n") + expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QCOMPARE(fromCp1251(readFileBytes(path)), eng);

        w.russianAction->trigger();
        QCOMPARE(boxes.shown().size(), 1);
        QCOMPARE(fromCp1251(readFileBytes(path)),
                 eng + QStringLiteral("[Rus]\r\n") + expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    // A list keeps its selected entry under the entry's new text. The hidden
    // port list keeps its names and its selection, so the scan still finds
    // its ports.
    void theSelectedEntryOfAListStaysSelected()
    {
        MainWindow& w
            = openWindow({ QStringLiteral("/dev/ttyZ0"), QStringLiteral("/dev/ttyZ1"), QStringLiteral("/dev/ttyZ2") });
        auto *level = w.findChild<QComboBox *>(QStringLiteral("CBox_INPUT"));
        QVERIFY(level != nullptr);
        QCOMPARE(level->currentIndex(), 2);
        w.portList->setCurrentIndex(1);

        w.englishAction->trigger();
        QCOMPARE(level->currentIndex(), 2);
        QCOMPARE(level->currentText(), QStringLiteral("Touch Memory/Pulse"));
        QCOMPARE(w.portList->currentIndex(), 1);
        QCOMPARE(w.portList->currentText(), QStringLiteral("/dev/ttyZ1"));

        w.russianAction->trigger();
        QCOMPARE(level->currentIndex(), 2);
        QCOMPARE(level->currentText(), QStringLiteral("Touch Memory/Импульс"));
        QCOMPARE(w.portList->currentIndex(), 1);
        QCOMPARE(w.portList->count(), 3);
    }

    // A write-back the file refuses ends the switch part-way with the default
    // error report; the language has already changed, the ticks have not,
    // and the program goes on: once the file can be written the menu works.
    void aReadOnlyDictionaryReportsTheWriteErrorAndTheProgramGoesOn()
    {
        MainWindow &w = openWindow();
        const QByteArray partial = toCp1251(QStringLiteral("[Eng]\r\nКонфигуратор ЗАРВЕН-4 (вер. 23.05.2016)=Configurator\r\n"));
        writeFileBytes(path, partial);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        w.englishAction->trigger();
        QCOMPARE(boxes.shown().size(), 1);
        QCOMPARE(boxes.shown().first().kind, BoxKind::Error);
        QCOMPARE(boxes.shown().first().text, errorReportText(QStringLiteral("Unable to write to ") + path));
        QCOMPARE(readFileBytes(path), partial);
        QCOMPARE(w.windowTitle(), QStringLiteral("Configurator"));
        QCOMPARE(w.connectButton->text(), QStringLiteral("Соединить"));
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('E'));
        QVERIFY(w.russianAction->isChecked());
        QVERIFY(!w.englishAction->isChecked());

        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        writeFileBytes(path, shipped());
        w.russianAction->trigger();
        QCOMPARE(w.shared.LanguageCode, QLatin1Char('R'));
        w.englishAction->trigger();
        QCOMPARE(w.connectButton->text(), QStringLiteral("Connect"));
        QVERIFY(w.englishAction->isChecked());
        QCOMPARE(boxes.shown().size(), 1);
    }

    void aFailedMessageLookupGoesThroughTheDefaultErrorReport()
    {
        MainWindow &w = openWindow();
        writeFileBytes(path, QByteArray("[Rus1]\r\n"));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        bool after = false;
        w.guarded([&] {
            showMessageInCurrentLanguage(w.shared, w.boxes, QStringLiteral("Файл не найден"));
            after = true;
        });
        QVERIFY(!after);
        // The error report only: the message's own box is not shown.
        QCOMPARE(boxes.texts(), QStringList{errorReportText(QStringLiteral("Unable to write to ") + path)});
        QCOMPARE(boxes.shown().first().kind, BoxKind::Error);
        QCOMPARE(readFileBytes(path), QByteArray("[Rus1]\r\n"));
    }
};

QTEST_MAIN(WindowLanguageTest)
#include "test_translation_window.moc"
