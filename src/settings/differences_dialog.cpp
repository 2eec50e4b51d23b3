#include "settings/differences_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zarven {

DifferencesDialog::DifferencesDialog(const CompareReport &report, const TextTranslator &tr, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DifferencesDialog"));
    setWindowTitle(report.afterWrite ? tr(QStringLiteral("Проверка после записи"))
                                     : tr(QStringLiteral("Сравнение с прибором")));
    const QList<FieldDifference> &differences = report.comparison.differences;
    const qsizetype count = differences.size();
    const QStringList summary = differenceSummary(report.comparison, tr);
    QString headingText = summary.join(QLatin1Char('\n'));
    if (report.afterWrite)
        headingText = tr(QStringLiteral("Проверка после записи не пройдена: прибор хранит не то, что записано."))
            + QLatin1Char(' ') + headingText;

    heading = new QLabel(headingText, this);
    heading->setObjectName(QStringLiteral("Label_differences"));
    heading->setWordWrap(true);

    table = new QTableWidget(int(count), 4, this);
    table->setObjectName(QStringLiteral("Table_differences"));
    table->setHorizontalHeaderLabels({tr(QStringLiteral("Где")), tr(QStringLiteral("Поле")),
                                      tr(QStringLiteral("Окно")), tr(QStringLiteral("Прибор"))});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    QStringList lines;
    if (report.afterWrite)
        lines << heading->text();
    for (int row = 0; row < int(count); ++row) {
        const FieldDifference &d = differences.at(row);
        const ImageField &f = imageFields().at(size_t(d.field));
        const QString cells[4] = {tr(f.place), tr(f.caption), differenceValue(d, d.window, tr),
                                  differenceValue(d, d.device, tr)};
        for (int column = 0; column < 4; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        lines << differenceLine(d, tr);
    }
    lines << summary;
    text_ = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    table->resizeColumnsToContents();

    auto *buttons = new QDialogButtonBox(this);
    auto *copy = buttons->addButton(tr(QStringLiteral("Копировать")), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("Button_copy"));
    auto *close = buttons->addButton(tr(QStringLiteral("Закрыть")), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Button_close"));
    connect(copy, &QPushButton::clicked, this, &DifferencesDialog::copyToClipboard);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(760, count == 0 ? 160 : 420);
}

void DifferencesDialog::copyToClipboard() const
{
    QApplication::clipboard()->setText(text_);
}

} // namespace zarven
