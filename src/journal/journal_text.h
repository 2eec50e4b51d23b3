#pragma once
// How journal entries and offline differences read to a person, in the
// window's language: the operation's name, an entry's one-line summary, a
// difference between two named sides.

#include "journal/journal_store.h"
#include "settings/settings_comparison.h"

#include <QString>
#include <QStringList>

namespace zarven {

// "чтение", "до записи", "запись", through tr.
QString journalOperationName(JournalOperation op, const TextTranslator &tr);

// "12  2026-12-10 09:07:04  чтение  Кв. 12.cfg  T6 v2.1  полей: 3  OK".
QString journalEntryLine(const JournalEntry &e, const TextTranslator &tr);

// One difference between two named sides ("Вход 2 / Сообщение: A.cfg «Дверь»,
// B.cfg «Окно»"), one line each, then "Различий нет" or "Различий: N".
QStringList sideBySideReport(const QList<FieldDifference> &diffs, const QString &labelA, const QString &labelB,
                             const TextTranslator &tr);

} // namespace zarven
