// The titles the X11 platform hands to the window system for the main window
// and the message boxes: the program's own captions, nothing appended. Runs
// under a virtual X display (xvfb-run), where the title the window system
// got can be read back with xprop; the offscreen platform cannot show it.

#include "app/main_window.h"
#include "core/application_title.h"
#include "core/message_boxes.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace zarven;

namespace {

// The window's _NET_WM_NAME as the X server holds it.
QString titleOnTheDisplay(QWidget *widget)
{
    QGuiApplication::sync();
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(widget->winId()), QStringLiteral("-notype"),
                 QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000))
        return QStringLiteral("(xprop did not answer)");
    // _NET_WM_NAME = "the title"
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = out.indexOf(QLatin1Char('"'));
    if (open < 0 || !out.endsWith(QLatin1Char('"')))
        return out + QString::fromLocal8Bit(xprop.readAllStandardError());
    return out.mid(open + 1, out.size() - open - 2);
}

// Shows a plain box and reads its title while it is open.
QString boxTitleOnTheDisplay(MessageBoxes &boxes)
{
    QString title;
    QTimer::singleShot(0, qApp, [&title] {
        QWidget *box = QApplication::activeModalWidget();
        if (box == nullptr)
            return;
        if (QTest::qWaitForWindowExposed(box))
            title = titleOnTheDisplay(box);
        box->close();
    });
    boxes.plain(QStringLiteral("текст"));
    return title;
}

} // namespace

class WindowTitlesX11Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    void windowAndBoxTitlesAreTheProgramsOwnInBothLanguages()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        AppOptions options;
        options.includeSystemPorts = false;
        options.workDir = dir.path();
        setApplicationTitle(QStringLiteral("Зарвен-4"));
        QtMessageBoxes boxes;
        MainWindow window(options, boxes);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QCOMPARE(titleOnTheDisplay(&window), QStringLiteral("Конфигуратор ЗАРВЕН-4 (вер. 23.05.2016)"));
        QCOMPARE(boxTitleOnTheDisplay(boxes), QStringLiteral("Зарвен-4"));
        window.englishAction->trigger();
        QCOMPARE(titleOnTheDisplay(&window), QStringLiteral("ZARVEN-4 Configurator (ver. 23.05.2016)"));
        QCOMPARE(boxTitleOnTheDisplay(boxes), QStringLiteral("Zarven-4"));
    }
};

QTEST_MAIN(WindowTitlesX11Test)
#include "test_window_titles_x11.moc"
