// TranslateForm over a window holding one component of every kind.

#include "core/application_title.h"
#include "core/message_boxes.h"
#include "file_bytes.h"
#include "translate/translation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace zarven;
using namespace zarven::test;

namespace {

// The keys of a section, in file order.
QStringList sectionKeys(const QString &text, const QString &section)
{
    QStringList keys;
    bool inside = false;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('['))) {
            inside = line == QLatin1Char('[') + section + QLatin1Char(']');
            continue;
        }
        if (inside)
            keys << line.section(QLatin1Char('='), 0, 0);
    }
    return keys;
}

// A window with one component of each kind, created in this order.
struct SampleWindow {
    std::unique_ptr<QMainWindow> window = std::make_unique<QMainWindow>();
    QMenu *fileMenu = nullptr;
    QMenu *subMenu = nullptr;
    QAction *open = nullptr;
    QAction *deeper = nullptr;
    QAction *separator = nullptr;
    QLabel *statusLabel = nullptr;
    QLabel *caption = nullptr;
    QLabel *emptyLabel = nullptr;
    QLabel *picture = nullptr;
    QPushButton *button = nullptr;
    QToolButton *speed = nullptr;
    QCheckBox *check = nullptr;
    QGroupBox *radioGroup = nullptr;
    QRadioButton *first = nullptr;
    QRadioButton *second = nullptr;
    QComboBox *list = nullptr;
    QLineEdit *edit = nullptr;
    QPlainTextEdit *memo = nullptr;
    QSpinBox *spin = nullptr;
    QProgressBar *gauge = nullptr;
    QTableWidget *grid = nullptr;
    QFileDialog *dialog = nullptr;

    SampleWindow()
    {
        window->setWindowTitle(QStringLiteral("Окно"));
        fileMenu = window->menuBar()->addMenu(QStringLiteral("&Файл"));
        open = fileMenu->addAction(QStringLiteral("&Открыть"));
        separator = fileMenu->addSeparator();
        subMenu = fileMenu->addMenu(QStringLiteral("Ещё"));
        deeper = subMenu->addAction(QStringLiteral("Глубже"));
        statusLabel = new QLabel(QStringLiteral("Готово"), window->statusBar());
        window->statusBar()->addWidget(statusLabel);

        auto *area = new QWidget(window.get());
        window->setCentralWidget(area);
        auto *panel = new QFrame(area);
        caption = new QLabel(QStringLiteral("Заголовок панели"), panel);
        emptyLabel = new QLabel(panel);
        picture = new QLabel(panel);
        QPixmap pixmap(4, 4);
        pixmap.fill(Qt::red);
        picture->setPixmap(pixmap);
        button = new QPushButton(QStringLiteral("Кнопка"), panel);
        speed = new QToolButton(panel);
        speed->setText(QStringLiteral("Быстрая"));
        check = new QCheckBox(QStringLiteral("Флажок"), area);
        radioGroup = new QGroupBox(QStringLiteral("Группа"), area);
        first = new QRadioButton(QStringLiteral("Один"), radioGroup);
        second = new QRadioButton(QStringLiteral("Два"), radioGroup);
        list = new QComboBox(area);
        list->addItems({QStringLiteral("Высокий"), QStringLiteral("Низкий"), QStringLiteral("Импульс")});
        list->setCurrentIndex(2);
        edit = new QLineEdit(QStringLiteral("содержимое"), area);
        edit->setToolTip(QStringLiteral("Подсказка"));
        memo = new QPlainTextEdit(QStringLiteral("Журнал"), area);
        memo->setToolTip(QStringLiteral("Журнал событий"));
        spin = new QSpinBox(area);
        spin->setToolTip(QStringLiteral("Подсказка счётчика"));
        spin->setSuffix(QStringLiteral(" сек"));
        gauge = new QProgressBar(area);
        gauge->setFormat(QStringLiteral("%p процентов"));
        grid = new QTableWidget(1, 1, area);
        grid->setHorizontalHeaderLabels({QStringLiteral("Описание")});
        grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Ячейка")));
        new QTimer(window.get());
        dialog = new QFileDialog(window.get(), QStringLiteral("Открыть конфигурацию"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    }
};

} // namespace

class FormTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path;
    ScriptedMessageBoxes boxes;

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        path = freshFilePath(dir, QStringLiteral("trans.dic"));
        boxes.clear();
        setApplicationTitle(QStringLiteral("Приложение"));
    }

    // With an empty section every text is missed: the write-backs list which
    // texts were looked up, and in which order.
    void looksUpEveryCaptionLikeTextInCreationOrder()
    {
        SampleWindow w;
        writeText(path, QStringLiteral("[Eng]\r\n"));
        TranslateForm(w.window.get(), QStringLiteral("Eng"), path, boxes);
        QVERIFY(boxes.shown().isEmpty());
        const QStringList expected = {
            QStringLiteral("Окно"),   QStringLiteral("Приложение"), QStringLiteral("Файл"),
            QStringLiteral("Открыть"), QStringLiteral("Ещё"),       QStringLiteral("Глубже"),
            QStringLiteral("Заголовок панели"), QStringLiteral("Кнопка"), QStringLiteral("Быстрая"),
            QStringLiteral("Флажок"), QStringLiteral("Группа"),     QStringLiteral("Один"),
            QStringLiteral("Два"),    QStringLiteral("Высокий"),    QStringLiteral("Низкий"),
            QStringLiteral("Импульс"), QStringLiteral("Подсказка"), QStringLiteral("Журнал событий"),
            QStringLiteral("Открыть конфигурацию"),
        };
        QCOMPARE(sectionKeys(readText(path), QStringLiteral("Eng")), expected);
        // Missed texts stay as they were, accelerator marks included.
        QCOMPARE(w.fileMenu->title(), QStringLiteral("&Файл"));
        QCOMPARE(w.open->text(), QStringLiteral("&Открыть"));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Окно"));
    }

    void translatesEachKindAndLeavesTheRestAlone()
    {
        SampleWindow w;
        writeText(path, QStringLiteral(
            "[Eng]\r\nОкно=Window\r\nПриложение=Application\r\nФайл=&File\r\nОткрыть=&Open\r\nЕщё=More\r\n"
            "Глубже=Deeper\r\nЗаголовок панели=Panel title\r\nКнопка=Button\r\nБыстрая=Speed\r\n"
            "Флажок=Check\r\nГруппа=Group\r\nОдин=One\r\nДва=Two\r\nВысокий=High\r\nНизкий=Low\r\n"
            "Импульс=Pulse\r\nПодсказка=Hint\r\nЖурнал событий=Event log\r\nОткрыть конфигурацию=Open configuration\r\n"
            "Готово=Ready\r\nсодержимое=content\r\nЖурнал=Log\r\nПодсказка счётчика=Spin hint\r\n сек= s\r\n"
            "Описание=Description\r\nЯчейка=Cell\r\n"));
        const QString before = readText(path);
        TranslateForm(w.window.get(), QStringLiteral("Eng"), path, boxes);
        QCOMPARE(readText(path), before);

        QCOMPARE(w.window->windowTitle(), QStringLiteral("Window"));
        QCOMPARE(applicationTitle(), QStringLiteral("Application"));
        QCOMPARE(w.fileMenu->title(), QStringLiteral("&File"));
        QCOMPARE(w.open->text(), QStringLiteral("&Open"));
        QCOMPARE(w.subMenu->title(), QStringLiteral("More"));
        QCOMPARE(w.deeper->text(), QStringLiteral("Deeper"));
        QVERIFY(w.separator->text().isEmpty());
        QCOMPARE(w.caption->text(), QStringLiteral("Panel title"));
        QCOMPARE(w.button->text(), QStringLiteral("Button"));
        QCOMPARE(w.speed->text(), QStringLiteral("Speed"));
        QCOMPARE(w.check->text(), QStringLiteral("Check"));
        QCOMPARE(w.radioGroup->title(), QStringLiteral("Group"));
        QCOMPARE(w.first->text(), QStringLiteral("One"));
        QCOMPARE(w.second->text(), QStringLiteral("Two"));
        QCOMPARE(w.list->itemText(0), QStringLiteral("High"));
        QCOMPARE(w.list->itemText(1), QStringLiteral("Low"));
        QCOMPARE(w.list->currentIndex(), 2);
        QCOMPARE(w.list->currentText(), QStringLiteral("Pulse"));
        QCOMPARE(w.edit->toolTip(), QStringLiteral("Hint"));
        QCOMPARE(w.edit->text(), QStringLiteral("содержимое"));
        QCOMPARE(w.memo->toolTip(), QStringLiteral("Event log"));
        QCOMPARE(w.memo->toPlainText(), QStringLiteral("Журнал"));
        QCOMPARE(w.dialog->windowTitle(), QStringLiteral("Open configuration"));
        // Left alone although the dictionary knows them.
        QCOMPARE(w.statusLabel->text(), QStringLiteral("Готово"));
        QCOMPARE(w.spin->toolTip(), QStringLiteral("Подсказка счётчика"));
        QCOMPARE(w.spin->suffix(), QStringLiteral(" сек"));
        QCOMPARE(w.grid->horizontalHeaderItem(0)->text(), QStringLiteral("Описание"));
        QCOMPARE(w.grid->item(0, 0)->text(), QStringLiteral("Ячейка"));
        QCOMPARE(w.gauge->format(), QStringLiteral("%p процентов"));
        QVERIFY(w.emptyLabel->text().isEmpty());
        QVERIFY(!w.picture->pixmap().isNull());
    }

    void aListWithNothingSelectedStaysUnselected()
    {
        SampleWindow w;
        w.list->setCurrentIndex(-1);
        writeText(path, QStringLiteral("[Eng]\r\nВысокий=High\r\n"));
        TranslateForm(w.window.get(), QStringLiteral("Eng"), path, boxes);
        QCOMPARE(w.list->currentIndex(), -1);
        QCOMPARE(w.list->itemText(0), QStringLiteral("High"));
    }
};

QTEST_MAIN(FormTest)
#include "test_translation_form.moc"
