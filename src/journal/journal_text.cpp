#include "journal/journal_text.h"

#include "settings/image_fields.h"

#include <QFileInfo>

namespace zarven {

QString journalOperationName(JournalOperation op, const TextTranslator &tr)
{
    switch (op) {
    case JournalOperation::Read:
        return tr(QStringLiteral("чтение"));
    case JournalOperation::Replaced:
        return tr(QStringLiteral("до записи"));
    case JournalOperation::Written:
        return tr(QStringLiteral("запись"));
    }
    return {};
}

QString journalEntryLine(const JournalEntry &e, const TextTranslator &tr)
{
    QStringList parts;
    parts << QString::number(e.id) << e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
          << journalOperationName(e.operation, tr)
          << (e.site.isEmpty() ? QStringLiteral("-") : QFileInfo(e.site).fileName())
          << (e.version.isEmpty() ? QStringLiteral("-") : e.version)
          << (e.fieldsChanged < 0 ? QStringLiteral("-") : tr(QStringLiteral("полей: %1")).arg(e.fieldsChanged))
          << tr(e.result);
    return parts.join(QStringLiteral("  "));
}

QStringList sideBySideReport(const QList<FieldDifference> &diffs, const QString &labelA, const QString &labelB,
                             const TextTranslator &tr)
{
    QStringList lines;
    for (const FieldDifference &d : diffs) {
        const ImageField &f = imageFields().at(size_t(d.field));
        lines << QStringLiteral("%1 / %2: %3 «%4», %5 «%6»")
                     .arg(tr(f.place), tr(f.caption), labelA, differenceValue(d, d.window, tr), labelB,
                          differenceValue(d, d.device, tr));
    }
    Comparison all;
    all.differences = diffs;
    all.fields = int(imageFields().size());
    lines << differenceSummary(all, tr);
    return lines;
}

} // namespace zarven
