#include "app/series_dialog.h"

#include "app/main_window.h"
#include "app/series_parts.h"
#include "serial/device_watch.h"
#include "sound/tone.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zarven {

namespace {

QLineEdit *fileRow(QFormLayout *form, QWidget *parent, const QString &name, const QString &caption, bool save)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    auto *browse = new QPushButton(QStringLiteral("…"), parent);
    browse->setObjectName(name + QStringLiteral("_browse"));
    QObject::connect(browse, &QPushButton::clicked, parent, [edit, parent, save] {
        const QString path = save ? QFileDialog::getSaveFileName(parent, QString(), edit->text())
                                  : QFileDialog::getOpenFileName(parent, QString(), edit->text());
        if (!path.isEmpty())
            edit->setText(path);
    });
    auto *row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    form->addRow(caption, row);
    return edit;
}

} // namespace

SeriesDialog::SeriesDialog(MainWindow &window, ToneOutput *tone, QWidget *parent)
    : QDialog(parent), w_(window), tone_(tone)
{
    setObjectName(QStringLiteral("SeriesDialog"));
    setWindowTitle(tr(QStringLiteral("Серия приборов")));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    templateEdit = fileRow(form, this, QStringLiteral("Edit_series_template"), tr(QStringLiteral("Шаблон:")), false);
    sitesEdit = fileRow(form, this, QStringLiteral("Edit_series_sites"), tr(QStringLiteral("Таблица объектов:")), false);
    keysEdit = fileRow(form, this, QStringLiteral("Edit_series_keys"), tr(QStringLiteral("Файл ключей:")), false);
    reportEdit = fileRow(form, this, QStringLiteral("Edit_series_report"), tr(QStringLiteral("Отчёт:")), true);
    portsEdit = new QLineEdit(this);
    portsEdit->setObjectName(QStringLiteral("Edit_series_ports"));
    portsEdit->setPlaceholderText(tr(QStringLiteral("пусто: вновь подключённый адаптер")));
    form->addRow(tr(QStringLiteral("Порты:")), portsEdit);
    layout->addLayout(form);
    connect(sitesEdit, &QLineEdit::editingFinished, this, [this] { openTable(sitesEdit->text()); });

    sitesTable = new QTableWidget(this);
    sitesTable->setObjectName(QStringLiteral("Grid_series"));
    layout->addWidget(sitesTable, 1);

    stepLabel = new QLabel(this);
    stepLabel->setObjectName(QStringLiteral("Label_series_step"));
    QFont big = stepLabel->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    stepLabel->setFont(big);
    stepLabel->setWordWrap(true);
    layout->addWidget(stepLabel);

    logView = new QPlainTextEdit(this);
    logView->setObjectName(QStringLiteral("Memo_series"));
    logView->setReadOnly(true);
    logView->setMaximumBlockCount(2000);
    layout->addWidget(logView);

    auto *buttons = new QHBoxLayout;
    auto *saveButton = new QPushButton(tr(QStringLiteral("Сохранить таблицу")), this);
    saveButton->setObjectName(QStringLiteral("Button_series_save"));
    startButton = new QPushButton(tr(QStringLiteral("Начать")), this);
    startButton->setObjectName(QStringLiteral("Button_series_start"));
    stopButton = new QPushButton(tr(QStringLiteral("Остановить после текущего")), this);
    stopButton->setObjectName(QStringLiteral("Button_series_stop"));
    stopButton->setEnabled(false);
    buttons->addWidget(saveButton);
    buttons->addStretch(1);
    buttons->addWidget(startButton);
    buttons->addWidget(stopButton);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] { saveTable(); });
    connect(startButton, &QPushButton::clicked, this, [this] { w_.guarded([this] { start(); }); });
    connect(stopButton, &QPushButton::clicked, this, [this] {
        if (run_)
            run_->stop();
        note(tr(QStringLiteral("Серия будет остановлена после текущего прибора")));
    });
    resize(900, 640);
}

SeriesDialog::~SeriesDialog() = default;

QString SeriesDialog::tr(const QString &russian) const
{
    return w_.inLanguage(russian);
}

void SeriesDialog::note(const QString &text)
{
    logView->appendPlainText(text);
}

bool SeriesDialog::openTable(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        note(tr(QStringLiteral("Таблица не открыта: %1")).arg(f.errorString()));
        return false;
    }
    const SiteTable table = parseSiteTable(f.readAll());
    if (!table.ok()) {
        note(tr(QStringLiteral("Таблица не открыта: %1")).arg(table.error));
        return false;
    }
    table_ = table;
    sitesTable->clear();
    sitesTable->setColumnCount(int(table.header.size()) + 1);
    sitesTable->setRowCount(int(table.rows.size()));
    sitesTable->setHorizontalHeaderLabels(table.header + QStringList{tr(QStringLiteral("Состояние"))});
    for (int r = 0; r < table.rows.size(); ++r) {
        for (int c = 0; c < table.header.size(); ++c)
            sitesTable->setItem(r, c, new QTableWidgetItem(table.rows.at(r).at(c)));
        auto *state = new QTableWidgetItem;
        state->setFlags(state->flags() & ~Qt::ItemIsEditable);
        sitesTable->setItem(r, int(table.header.size()), state);
    }
    sitesTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return true;
}

SiteTable SeriesDialog::gridTable() const
{
    SiteTable t = table_;
    for (int r = 0; r < t.rows.size() && r < sitesTable->rowCount(); ++r)
        for (int c = 0; c < t.header.size(); ++c)
            if (const QTableWidgetItem *item = sitesTable->item(r, c))
                t.rows[r][c] = item->text();
    return t;
}

bool SeriesDialog::saveTable()
{
    if (table_.header.isEmpty())
        return false;
    const SiteTable t = gridTable();
    QSaveFile f(sitesEdit->text());
    const QByteArray content = siteTableContent(t);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.commit()) {
        note(tr(QStringLiteral("Таблица не сохранена: %1")).arg(f.errorString()));
        return false;
    }
    table_ = t;
    return true;
}

void SeriesDialog::setState(int row, SiteState state, const QString &detail)
{
    static const char *const kStates[] = {"ждёт прибор", "запись…", "готово", "отклонено", "сбой", "пропущен",
                                          "был готов раньше"};
    QString text = tr(QString::fromUtf8(kStates[int(state)]));
    if (!detail.isEmpty())
        text += QStringLiteral(": ") + detail;
    if (QTableWidgetItem *item = sitesTable->item(row, sitesTable->columnCount() - 1))
        item->setText(text);
    if (tone_ && state == SiteState::Ok)
        tone_->beep(1320.0, 150);
    if (tone_ && (state == SiteState::Failed || state == SiteState::Refused))
        tone_->beep(220.0, 700);
}

std::optional<SeriesSummary> SeriesDialog::start()
{
    if (run_)
        return std::nullopt;
    if (!table_.header.isEmpty() && gridTable().rows != table_.rows && !saveTable())
        return std::nullopt;
    SeriesOptions o;
    o.templatePath = templateEdit->text();
    o.table = gridTable();
    o.tableFolder = QFileInfo(sitesEdit->text()).absolutePath();
    o.keysPath = keysEdit->text();
    o.reportPath = reportEdit->text();
    o.ports = portsEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    o.pollMs = w_.options.intervals.scanStepMs / 2;
    QList<TableProblem> problems = table_.header.isEmpty()
        ? QList<TableProblem>{TableProblem{0, {}, QStringLiteral("таблица объектов не открыта"), {}, false}}
        : checkSiteTable(o.table, o.tableFolder);
    if (problems.isEmpty())
        problems = seriesWriteRefusals(w_, o);
    if (!problems.isEmpty()) {
        for (const TableProblem &p : problems)
            note(p.text([this](const QString &t) { return tr(t); }));
        stepLabel->setText(tr(QStringLiteral("Таблица объектов не принята: ничего не записано")));
        return std::nullopt;
    }
    std::unique_ptr<DeviceWatch> watch;
    if (o.ports.isEmpty())
        watch = std::make_unique<DeviceWatch>(w_.options.deviceFolder.isEmpty() ? QStringLiteral("/dev")
                                                                                : w_.options.deviceFolder);
    SeriesRun series(seriesParts(w_, watch.get()), o);
    run_ = &series;
    series.say = [this](const QString &text) {
        stepLabel->setText(text);
        note(text);
    };
    series.siteChanged = [this](int row, SiteState state, const QString &detail) { setState(row, state, detail); };
    series.retry = [this](int, const QString &failure) {
        return w_.boxes.choose(failure, {tr(QStringLiteral("Повторить")), tr(QStringLiteral("Пропустить"))}) == 0;
    };
    auto *qtBoxes = dynamic_cast<QtMessageBoxes *>(&w_.boxes);
    if (qtBoxes)
        qtBoxes->setConfirmationSink([this](const QString &text) { note(text); });
    startButton->setEnabled(false);
    stopButton->setEnabled(true);
    sitesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const SeriesSummary summary = series.run();
    if (qtBoxes)
        qtBoxes->setConfirmationSink({});
    run_ = nullptr;
    sitesTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    startButton->setEnabled(true);
    stopButton->setEnabled(false);
    stepLabel->setText(series.summaryText(summary));
    note(series.summaryText(summary));
    return summary;
}

void SeriesDialog::closeEvent(QCloseEvent *event)
{
    // The series under way ends after its unit; the dialog stays until then.
    if (run_) {
        run_->stop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zarven
