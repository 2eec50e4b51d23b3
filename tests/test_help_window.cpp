// "Справка" opens the user guide inside the tool, in the window's language,
// with every picture it shows.

#include "app/help_window.h"
#include "app/main_window.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QtTest>
#include <optional>

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

    // Pictures wider than the view are scaled to its width and open at full
    // size when clicked; the About panel names the tool's version.
    void picturesFitTheViewAndOpenFullSize()
    {
        QTemporaryDir dir;
        AppOptions o;
        o.workDir = dir.path();
        o.includeSystemPorts = false;
        ScriptedMessageBoxes boxes;
        MainWindow w(o, boxes);
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("Label_version"))->text(), QStringLiteral(ZARVEN_VERSION));
        w.helpAction->trigger();
        QTextBrowser *browser = w.helpWindow->browser();
        w.helpWindow->resize(420, 500);
        QTRY_VERIFY(browser->viewport()->width() < 420);
        QTextDocument *doc = browser->document();
        std::optional<QTextFragment> wide;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
                if (!f.isValid())
                    continue;
                QVERIFY2(f.width() <= browser->viewport()->width(), qPrintable(f.name()));
                QCOMPARE(f.anchorHref(), HelpWindow::pictureScheme() + QLatin1Char(':') + f.name());
                const QImage image = doc->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
                if (!wide && image.width() > browser->viewport()->width())
                    wide = it.fragment();
            }
        QVERIFY(wide);
        QTextCursor at(doc);
        at.setPosition(wide->position());
        const QRect place = browser->cursorRect(at);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, QPoint(place.left() + 8, place.center().y()));
        QTRY_VERIFY(w.helpWindow->pictureWindow() && w.helpWindow->pictureWindow()->isVisible());
        const QString name = wide->charFormat().toImageFormat().name();
        const QImage full = doc->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
        QCOMPARE(w.helpWindow->pictureWindow()->findChild<QLabel *>()->pixmap().size(), full.size());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "test_help_window.moc"
