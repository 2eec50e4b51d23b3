#include "translate/translation.h"

#include "core/errors.h"
#include "core/message_boxes.h"
#include "core/shared_values.h"
#include "translate/profile_file.h"

namespace zarven {

QString LookupTranslation(const QString &text, const QString &section, const ProfileFile &dictionary)
{
    if (text.isEmpty())
        return text;
    QString key = text;
    key.remove(QLatin1Char('&'));
    if (!ProfileFile::canHoldKey(key))
        return text;
    const QString value = dictionary.readString(section, key);
    if (!value.isEmpty())
        return value;
    dictionary.writeString(section, key, QString());
    return text;
}

QString TranslateText(const QString &text, QChar languageLetter, const QString &path, MessageBoxes &boxes)
{
    const ProfileFile dictionary(path);
    if (!dictionary.exists())
        boxes.show(BoxKind::Plain, QStringLiteral("No exists") + path);
    if (languageLetter == QLatin1Char('R'))
        return LookupTranslation(text, QStringLiteral("Rus1"), dictionary);
    if (languageLetter == QLatin1Char('E'))
        return LookupTranslation(text, QStringLiteral("Eng1"), dictionary);
    return text;
}

QString dictionaryPath(const SharedValues &shared)
{
    return shared.programFile(kDictionaryName);
}

QString captionInCurrentLanguage(const SharedValues &shared, const QString &russian)
{
    if (shared.LanguageCode != QLatin1Char('E'))
        return russian;
    const ProfileFile dictionary(dictionaryPath(shared));
    if (!dictionary.exists())
        return russian;
    return LookupTranslation(russian, QStringLiteral("Eng"), dictionary);
}

QString messageInCurrentLanguage(const SharedValues &shared, MessageBoxes &boxes, const QString &russian)
{
    return TranslateText(russian, shared.LanguageCode, dictionaryPath(shared), boxes);
}

QString statusTextInCurrentLanguage(const SharedValues &shared, const QString &russian)
{
    const ProfileFile dictionary(dictionaryPath(shared));
    if (!dictionary.exists())
        return russian;
    const QString section = shared.LanguageCode == QLatin1Char('E') ? QStringLiteral("Eng1") : QStringLiteral("Rus1");
    try {
        return LookupTranslation(russian, section, dictionary);
    } catch (const AppError &) {
        return russian;
    }
}

void showMessageInCurrentLanguage(const SharedValues &shared, MessageBoxes &boxes, const QString &russian)
{
    boxes.plain(messageInCurrentLanguage(shared, boxes, russian));
}

} // namespace zarven
