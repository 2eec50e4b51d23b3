// "Справка" opens the user guide inside the tool, in the window's language,
// with every picture it shows.

#include "app/help_window.h"
#include "app/main_window.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QtTest>

using namespace zarven;

namespace {

// The pictures the shown guide refers to, each with whether it loaded.
QMap<QString, bool> pictures(QTextBrowser *browser)
{
    QMap<QString, bool> found;
    QTextDocument *doc = browser->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            const QVariant image = doc->resource(QTextDocument::ImageResource, QUrl(name));
            found[name] = image.isValid() && !image.value<QImage>().isNull();
        }
    }
    return found;
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void guideFollowsTheWindowLanguage()
    {
        QTemporaryDir dir;
        AppOptions o;
        o.workDir = dir.path();
        o.includeSystemPorts = false;
        ScriptedMessageBoxes boxes;
        MainWindow w(o, boxes);
        struct Case {
            QAction *language;
            QString title;
            QString heading;
        };
        const Case cases[] = {
            {w.russianAction, QStringLiteral("Справка"),
                QStringLiteral("Конфигуратор ЗАРВЕН-4: руководство пользователя")},
            {w.englishAction, QStringLiteral("Help"), QStringLiteral("ZARVEN-4 Configurator: user guide")},
            {w.russianAction, QStringLiteral("Справка"),
                QStringLiteral("Конфигуратор ЗАРВЕН-4: руководство пользователя")},
        };
        for (const Case &c : cases) {
            c.language->trigger();
            w.helpAction->trigger();
            QVERIFY(w.helpWindow && w.helpWindow->isVisible());
            QCOMPARE(w.helpWindow->windowTitle(), c.title);
            QTextBrowser *browser = w.helpWindow->browser();
            QVERIFY2(browser->toPlainText().startsWith(c.heading), qPrintable(browser->toPlainText().left(80)));
            const QMap<QString, bool> shown = pictures(browser);
            QVERIFY(shown.size() >= 5);
            QVERIFY2(!shown.values().contains(false), qPrintable(shown.keys(false).join(QLatin1Char(' '))));
        }
        QVERIFY(boxes.shown().isEmpty());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "test_help_window.moc"
