#include "journal/journal_window.h"

#include "journal/journal_text.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zarven {

JournalWindow::JournalWindow(JournalStore &store, JournalWindowActions actions,
                             std::function<QString(const QString &)> translate, QWidget *parent)
    : QDialog(parent), store_(store), actions_(std::move(actions)), tr_(std::move(translate))
{
    setObjectName(QStringLiteral("journalWindow"));
    setWindowTitle(tr_(QStringLiteral("Журнал")));
    auto *layout = new QVBoxLayout(this);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("journalSearch"));
    search_->setPlaceholderText(tr_(QStringLiteral("Поиск: объект, файл или номер телефона")));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);

    table_ = new QTableWidget(0, 6, this);
    table_->setObjectName(QStringLiteral("journalTable"));
    table_->setHorizontalHeaderLabels({tr_(QStringLiteral("Дата и время")), tr_(QStringLiteral("Операция")),
                                       tr_(QStringLiteral("Объект")), tr_(QStringLiteral("Версия")),
                                       tr_(QStringLiteral("Изменено полей")), tr_(QStringLiteral("Результат"))});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    auto *row = new QHBoxLayout;
    const struct {
        const char *name;
        const char *caption;
    } buttons[] = {
        {"journalOpen", "Открыть в окне"},
        {"journalExport", "Сохранить как файл…"},
        {"journalCompareWindow", "Сравнить с окном"},
        {"journalCompareDevice", "Сравнить с прибором"},
        {"journalCompareEntries", "Сравнить две записи"},
        {"journalWriteBack", "Записать в прибор…"},
    };
    for (const auto &b : buttons) {
        auto *button = new QPushButton(tr_(QString::fromUtf8(b.caption)), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        row->addWidget(button);
        buttons_ << button;
    }
    layout->addLayout(row);

    auto one = [this](const std::function<void(const JournalEntry &)> &action) {
        return [this, action] {
            const QList<JournalEntry> chosen = selectedEntries();
            if (chosen.size() == 1 && action)
                action(chosen.first());
        };
    };
    connect(buttons_[0], &QPushButton::clicked, this, one(actions_.openInWindow));
    connect(buttons_[1], &QPushButton::clicked, this, one(actions_.exportEntry));
    connect(buttons_[2], &QPushButton::clicked, this, one(actions_.compareWithWindow));
    connect(buttons_[3], &QPushButton::clicked, this, one(actions_.compareWithController));
    connect(buttons_[4], &QPushButton::clicked, this, [this] {
        const QList<JournalEntry> chosen = selectedEntries();
        if (chosen.size() == 2 && actions_.compareEntries)
            actions_.compareEntries(chosen.at(1), chosen.at(0)); // older first
    });
    connect(buttons_[5], &QPushButton::clicked, this, one(actions_.writeBack));
    connect(search_, &QLineEdit::textChanged, this, &JournalWindow::reload);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &JournalWindow::updateButtons);
    resize(900, 480);
    reload();
}

void JournalWindow::reload()
{
    const QList<JournalEntry> entries = store_.entries({search_->text().trimmed(), -1, false});
    table_->setUpdatesEnabled(false);
    table_->clearContents();
    table_->setRowCount(int(entries.size()));
    ids_.clear();
    int r = 0;
    for (const JournalEntry &e : entries) {
        const QString cells[] = {
            e.time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
            journalOperationName(e.operation, tr_),
            e.site.isEmpty() ? QString() : QFileInfo(e.site).fileName(),
            e.version,
            e.fieldsChanged < 0 ? QString() : QString::number(e.fieldsChanged),
            tr_(e.result),
        };
        for (int c = 0; c < 6; ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
        if (!e.site.isEmpty())
            table_->item(r, 2)->setToolTip(e.site);
        ids_ << e.id;
        ++r;
    }
    table_->setUpdatesEnabled(true);
    updateButtons();
}

QList<JournalEntry> JournalWindow::selectedEntries() const
{
    QList<JournalEntry> chosen;
    for (const QModelIndex &index : table_->selectionModel()->selectedRows()) {
        if (index.row() < ids_.size())
            if (const std::optional<JournalEntry> e = store_.entry(ids_.at(index.row())))
                chosen << *e;
    }
    std::sort(chosen.begin(), chosen.end(), [](const JournalEntry &a, const JournalEntry &b) { return a.id > b.id; });
    return chosen;
}

void JournalWindow::updateButtons()
{
    const qsizetype n = table_->selectionModel()->selectedRows().size();
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setEnabled(i == 4 ? n == 2 : n == 1);
}

} // namespace zarven
