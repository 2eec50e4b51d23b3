// The configuration sheet: its content for a known file in both languages,
// and the PDF files that the "Файл" menu and the batch command write.

#include "app/main_window.h"
#include "config_file/config_files.h"
#include "keys/key_panel.h"
#include "sheet/config_sheet.h"
#include "sheet/sheet_printer.h"
#include "batch_run.h"
#include "formats_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>

using namespace zarven;
using namespace zarven::test;

namespace {

// A printer chosen without a dialog: a PDF file, or a cancel.
struct PdfPrinterChoice : PrintDialogs {
    QString path;
    bool accept = true;
    bool choosePrinter(QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return accept;
    }
};

// The pages of a PDF file as Qt writes it (its page objects stand
// uncompressed); -1 for a file that is no PDF.
int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    return pdf.startsWith("%PDF-") ? int(pdf.count("/Type /Page\n")) : -1;
}

} // namespace

class SheetTest : public QObject {
    Q_OBJECT
private slots:
    void sheetOfAKnownFileInBothLanguages()
    {
        FormatsWindow w;
        QVERIFY(w.form().configFiles->loadFrom(testDataPath(QStringLiteral("settings_rich.cfg"))));
        KeyRows keys = w.form().keyPanel->rows();
        keys[2] = {QStringLiteral("Входная <дверь>"), QStringLiteral("0123456789ABCDEF")};
        w.form().keyPanel->setRows(keys);
        const QString date = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        struct Case {
            QChar language;
            QStringList lines;
        };
        const Case cases[] = {
            {QLatin1Char('R'),
             {QStringLiteral("Карта настроек ЗАРВЕН-4"), QStringLiteral("Дата: ") + date,
              QStringLiteral("Прибор не подключён"), QStringLiteral("Номер 1 | +79161234567"),
              QStringLiteral("Номер 5 | +380441234567"), QStringLiteral(" | Вход 1 | Вход 2 | Вход 3 | Вход 4"),
              QStringLiteral("Сообщение | Дверь | Окно кухни | — | Подвал"), QStringLiteral("3 | Входная <дверь>")}},
            {QLatin1Char('E'),
             {QStringLiteral("ZARVEN-4 settings sheet"), QStringLiteral("Date: ") + date,
              QStringLiteral("No controller connected"), QStringLiteral("Number 1 | +79161234567"),
              QStringLiteral(" | Input 1 | Input 2 | Input 3 | Input 4"),
              QStringLiteral("Message | Дверь | Окно кухни | — | Подвал"), QStringLiteral("3 | Входная <дверь>")}},
        };
        for (const Case &c : cases) {
            w.form().switchLanguage(c.language);
            const ConfigSheet sheet = w.form().configSheet();
            const QString text = sheetText(sheet);
            const QStringList lines = text.split(QLatin1Char('\n'));
            for (const QString &line : c.lines)
                QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral("\n---\n") + text));
            // The key's code stays off the customer's sheet; the user's own
            // texts are escaped in the HTML.
            QVERIFY(!text.contains(QStringLiteral("0123456789ABCDEF")));
            QVERIFY(sheetHtml(sheet).contains(QStringLiteral("Входная &lt;дверь&gt;")));
            if (c.language == QLatin1Char('E')) {
                QString words = text;
                for (const char *own : {"Дверь", "Окно кухни", "Подвал", "Входная <дверь>"})
                    words.remove(QString::fromUtf8(own));
                QVERIFY2(!words.contains(QRegularExpression(QStringLiteral("\\p{Cyrillic}"))), qPrintable(text));
            }
        }
    }

    void menuPrintsAndSavesPdf()
    {
        FormatsWindow w;
        MainWindow &form = w.form();
        auto printer = std::make_unique<PdfPrinterChoice>();
        PdfPrinterChoice *choice = printer.get();
        choice->path = w.path(QStringLiteral("printed.pdf"));
        form.printDialogs = std::move(printer);
        auto dialogs = std::make_unique<ScriptedFileDialogs>();
        ScriptedFileDialogs *names = dialogs.get();
        form.pdfDialogs = std::move(dialogs);

        choice->accept = false;
        form.printAction->trigger();
        QVERIFY(!QFile::exists(choice->path));
        choice->accept = true;
        form.printAction->trigger();
        QVERIFY(pdfPages(choice->path) >= 1 && pdfPages(choice->path) <= 2);

        const QString saved = w.path(QStringLiteral("sheet.pdf"));
        names->saveNames = {saved, saved};
        form.savePdfAction->trigger();
        QVERIFY(pdfPages(saved) >= 1 && pdfPages(saved) <= 2);
        QVERIFY(form.statusFile->text().contains(saved));
        // An existing file is kept when the user says No.
        QFile::resize(saved, 10);
        w.boxes.setQuestionAnswer(false);
        form.savePdfAction->trigger();
        QCOMPARE(QFileInfo(saved).size(), 10);
        QCOMPARE(w.boxes.texts(BoxKind::Error), QStringList());
    }

    void batchPrintWritesPdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("customer.pdf"));
        const QString input = testDataPath(QStringLiteral("settings_rich.cfg"));
        const BatchRun ok = runConfig({QStringLiteral("print"), QStringLiteral("--input"), input,
                                       QStringLiteral("--output"), pdf, QStringLiteral("--keys"),
                                       testDataPath(QStringLiteral("original_layout.key")), QStringLiteral("--language"),
                                       QStringLiteral("en"), QStringLiteral("--workdir"), dir.path()});
        QCOMPARE(ok.exitCode, 0);
        QVERIFY2(ok.out.contains(QStringLiteral("Settings sheet saved: ") + pdf), qPrintable(ok.out + ok.err));
        const int pages = pdfPages(pdf);
        QVERIFY2(pages == 1 || pages == 2, qPrintable(QString::number(pages)));

        const BatchRun refused = runConfig({QStringLiteral("print"), QStringLiteral("--input"), input,
                                            QStringLiteral("--output"), dir.filePath(QStringLiteral("no/such/x.pdf")),
                                            QStringLiteral("--workdir"), dir.path()});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.err.contains(QStringLiteral("Не удалось записать файл")), qPrintable(refused.err));
    }
};

QTEST_MAIN(SheetTest)
#include "test_sheet.moc"
