#include "translate/message_translation.h"

#include "translate/profile_file.h"
#include "translate/shipped_dictionary.h"

#include <QLabel>
#include <QRegularExpression>
#include <exception>

namespace zarven {

namespace {

const char kRussianTextProperty[] = "zarvenRussianText";

using Entries = QList<QPair<QString, QString>>;

// The key's literal parts escaped and each placeholder %n as a group "pn";
// a placeholder the key repeats must match the same text again.
QRegularExpression placeholderPattern(const QString &key)
{
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    QString pattern = QStringLiteral("^");
    QString seen;
    qsizetype from = 0;
    auto it = placeholder.globalMatch(key);
    while (it.hasNext()) {
        const auto m = it.next();
        const QChar n = key.at(m.capturedStart() + 1);
        pattern += QRegularExpression::escape(key.mid(from, m.capturedStart() - from));
        pattern += seen.contains(n) ? QStringLiteral("\\k<p") + n + QStringLiteral(">")
                                    : QStringLiteral("(?<p") + n + QStringLiteral(">.*?)");
        seen += n;
        from = m.capturedEnd();
    }
    pattern += QRegularExpression::escape(key.mid(from)) + QStringLiteral("$");
    return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
}

bool hasPlaceholder(const QString &key)
{
    for (qsizetype i = 0; i + 1 < key.size(); ++i)
        if (key[i] == QLatin1Char('%') && key[i + 1] >= QLatin1Char('1') && key[i + 1] <= QLatin1Char('9'))
            return true;
    return false;
}

// The value of the first entry whose key is the line, or whose placeholder
// key matches it with the parts put in; empty when none does.
QString findTranslation(const QString &line, const Entries &entries)
{
    QString key = line;
    key.remove(QLatin1Char('&'));
    for (const auto &[k, v] : entries)
        if (!v.isEmpty() && QString::compare(k, key, Qt::CaseInsensitive) == 0)
            return v;
    for (const auto &[k, v] : entries) {
        if (v.isEmpty() || !hasPlaceholder(k))
            continue;
        const auto m = placeholderPattern(k).match(key);
        if (!m.hasMatch())
            continue;
        // One pass, so a part that itself holds "%2" is put in as it is.
        QString out;
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (v[i] == QLatin1Char('%') && i + 1 < v.size() && v[i + 1] >= QLatin1Char('1')
                && v[i + 1] <= QLatin1Char('9')) {
                out += m.captured(QStringLiteral("p") + v[i + 1]);
                ++i;
            } else {
                out += v[i];
            }
        }
        return out;
    }
    return {};
}

// A value with placeholders counts with any parts put in, so a composed
// message translated by its caller is not collected as a new text.
bool isValueOf(const QString &line, const Entries &entries)
{
    for (const auto &[k, v] : entries) {
        if (v.isEmpty())
            continue;
        if (v == line || (hasPlaceholder(v) && placeholderPattern(v).match(line).hasMatch()))
            return true;
    }
    return false;
}

QString translateLine(const QString &line, const QString &section, const ProfileFile &dictionary,
                      const Entries &entries)
{
    if (line.trimmed().isEmpty())
        return line;
    const QString found = findTranslation(line, entries);
    if (!found.isEmpty())
        return found;
    if (isValueOf(line, entries))
        return line;
    QString key = line;
    key.remove(QLatin1Char('&'));
    if (dictionary.exists() && ProfileFile::canHoldKey(key) && !hasPlaceholder(key)) {
        try {
            dictionary.writeString(section, key, QString());
        } catch (const std::exception &) {
            // The collecting list is a help for translators; the message is
            // shown all the same.
        }
    }
    return line;
}

// The dictionary trims its keys and values, so a line is looked up without
// the blanks around it and shown with them.
QString translateTrimmedLine(const QString &line, const QString &section, const ProfileFile &dictionary,
                             const Entries &entries)
{
    const QString inner = line.trimmed();
    if (inner.isEmpty() || inner.size() == line.size())
        return translateLine(line, section, dictionary, entries);
    const qsizetype lead = line.indexOf(inner);
    return line.left(lead) + translateLine(inner, section, dictionary, entries) + line.mid(lead + inner.size());
}

} // namespace

QString translateMessage(const QString &text, QChar languageLetter, const QString &path)
{
    if (text.isEmpty())
        return text;
    QString section;
    if (languageLetter == QLatin1Char('R'))
        section = QStringLiteral("Rus1");
    else if (languageLetter == QLatin1Char('E'))
        section = QStringLiteral("Eng1");
    else
        return text;
    const ProfileFile dictionary(path);
    // The program folder's entries first, then the shipped ones.
    const Entries entries
        = dictionary.readSection(section) + ProfileFile(kShippedDictionaryResource).readSection(section);

    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QString out;
    qsizetype from = 0;
    auto it = lineBreak.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += translateTrimmedLine(text.mid(from, m.capturedStart() - from), section, dictionary, entries);
        out += m.captured();
        from = m.capturedEnd();
    }
    out += translateTrimmedLine(text.mid(from), section, dictionary, entries);
    return out;
}

void showTranslated(QLabel *label, const QString &russian, const MessageTranslator &translate)
{
    label->setProperty(kRussianTextProperty, russian);
    label->setText(translate ? translate(russian) : russian);
}

void retranslateLabels(QWidget *root, const MessageTranslator &translate)
{
    for (QLabel *label : root->findChildren<QLabel *>()) {
        const QVariant russian = label->property(kRussianTextProperty);
        if (russian.isValid())
            label->setText(translate ? translate(russian.toString()) : russian.toString());
    }
}

} // namespace zarven
