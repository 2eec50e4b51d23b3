#include "sheet/config_sheet.h"

#include <algorithm>

namespace zarven {

namespace {

const QString kNone = QStringLiteral("—");

QString translated(const TextTranslator &tr, const QString &text)
{
    return tr ? tr(text) : text;
}

// Whether a field's value stands: its gate, and the gate's own, are ticked.
bool gateOpen(const FieldValues &fields, int gate)
{
    while (gate >= 0) {
        const auto &bytes = fields.value(gate);
        if (!bytes || *bytes != QByteArrayLiteral("1"))
            return false;
        gate = imageFields().at(size_t(gate)).gate;
    }
    return true;
}

struct Place {
    QString name;
    QStringList captions;
    QStringList values;
};

// The places in the catalogue's order, the phones' first: the sheet opens
// with whom the controller calls.
QList<Place> places(const FieldValues &fields, const TextTranslator &tr)
{
    QList<Place> out;
    const auto &catalogue = imageFields();
    const int firstPhone = fieldIndex(u"phone1");
    if (firstPhone >= 0)
        out.append({catalogue.at(size_t(firstPhone)).place, {}, {}});
    for (size_t i = 0; i < catalogue.size(); ++i) {
        const ImageField &f = catalogue[i];
        if (f.kind == FieldKind::Date || f.kind == FieldKind::Time)
            continue;
        auto it = std::find_if(out.begin(), out.end(), [&f](const Place &p) { return p.name == f.place; });
        if (it == out.end()) {
            out.append({f.place, {}, {}});
            it = out.end() - 1;
        }
        const auto &bytes = fields.value(qsizetype(i));
        it->captions << translated(tr, f.caption);
        it->values << (bytes && gateOpen(fields, f.gate) ? fieldValueText(f.kind, *bytes, tr) : kNone);
    }
    for (Place &p : out)
        p.name = translated(tr, p.name);
    return out;
}

QString cell(const QString &tag, const QString &text, const char *style = "")
{
    return QStringLiteral("<%1 style=\"%2\">%3</%1>").arg(tag, QLatin1String(style), text.toHtmlEscaped());
}

} // namespace

ConfigSheet buildConfigSheet(const FieldValues &fields, const SheetFacts &facts, const TextTranslator &tr)
{
    ConfigSheet sheet;
    sheet.title = translated(tr, QStringLiteral("Карта настроек ЗАРВЕН-4"));
    if (!facts.file.isEmpty())
        sheet.facts << translated(tr, QStringLiteral("Файл: %1")).arg(facts.file);
    sheet.facts << translated(tr, QStringLiteral("Дата: %1")).arg(facts.date.toString(QStringLiteral("dd.MM.yyyy")));
    sheet.facts << (facts.controllerVersion.isEmpty()
                        ? translated(tr, QStringLiteral("Прибор не подключён"))
                        : translated(tr, QStringLiteral("Прибор: %1, порт %2")).arg(facts.controllerVersion, facts.port));

    const QList<Place> all = places(fields, tr);
    for (qsizetype i = 0; i < all.size();) {
        // Places that follow each other with the same captions share a table.
        qsizetype end = i + 1;
        while (end < all.size() && all[end].captions == all[i].captions)
            ++end;
        SheetTable table;
        if (end - i == 1)
            table.title = all[i].name;
        for (qsizetype p = i; p < end && end - i > 1; ++p)
            table.columns << all[p].name;
        for (qsizetype row = 0; row < all[i].captions.size(); ++row) {
            QStringList cells{all[i].captions[row]};
            for (qsizetype p = i; p < end; ++p)
                cells << all[p].values[row];
            table.rows << cells;
        }
        sheet.tables << table;
        i = end;
    }

    if (facts.keys) {
        SheetTable keys;
        keys.title = translated(tr, QStringLiteral("Ключи Touch Memory"));
        for (int n = 0; n < kKeyRowCount; ++n) {
            const KeyRow &row = (*facts.keys)[size_t(n)];
            if (!row.description.trimmed().isEmpty())
                keys.rows << QStringList{QString::number(n + 1), row.description.trimmed()};
        }
        if (!keys.rows.isEmpty())
            sheet.tables << keys;
    }
    return sheet;
}

QString sheetHtml(const ConfigSheet &sheet)
{
    QString html = QStringLiteral("<html><body>") + cell(QStringLiteral("h2"), sheet.title);
    for (const QString &fact : sheet.facts)
        html += cell(QStringLiteral("p"), fact, "margin:0");
    for (const SheetTable &t : sheet.tables) {
        if (!t.title.isEmpty())
            html += cell(QStringLiteral("h3"), t.title, "margin-top:10px; margin-bottom:2px");
        else
            html += QStringLiteral("<p style=\"margin:4px\"></p>");
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">");
        if (!t.columns.isEmpty()) {
            html += QStringLiteral("<tr>") + cell(QStringLiteral("th"), QString());
            for (const QString &c : t.columns)
                html += cell(QStringLiteral("th"), c, "background-color:#e0e0e0");
            html += QStringLiteral("</tr>");
        }
        for (const QStringList &row : t.rows) {
            html += QStringLiteral("<tr>");
            for (qsizetype c = 0; c < row.size(); ++c)
                html += cell(QStringLiteral("td"), row[c], c == 0 ? "color:#404040" : "");
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    return html + QStringLiteral("</body></html>");
}

QString sheetText(const ConfigSheet &sheet)
{
    QStringList lines{sheet.title};
    lines << sheet.facts;
    for (const SheetTable &t : sheet.tables) {
        lines << QString();
        lines << (t.title.isEmpty() ? QStringLiteral(" | ") + t.columns.join(QStringLiteral(" | ")) : t.title);
        for (const QStringList &row : t.rows)
            lines << row.join(QStringLiteral(" | "));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace zarven
