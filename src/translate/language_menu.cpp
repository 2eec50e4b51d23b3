#include "translate/language_menu.h"

#include "core/shared_values.h"
#include "translate/translation.h"

#include <QAction>
#include <QWidget>

namespace zarven {

LanguageMenu::LanguageMenu(QWidget *window, SharedValues &shared, MessageBoxes &boxes, QAction *russian,
                           QAction *english)
    : QObject(window), window_(window), shared_(shared), boxes_(boxes), russian_(russian), english_(english),
      russianTicked_(russian->isChecked())
{
    setObjectName(QStringLiteral("LanguageMenu"));
}

void LanguageMenu::menu_englishClick()
{
    if (shared_.LanguageCode == QLatin1Char('R'))
        switchTo(QLatin1Char('E'), QStringLiteral("Eng"), false);
}

void LanguageMenu::menu_russianClick()
{
    if (shared_.LanguageCode == QLatin1Char('E'))
        switchTo(QLatin1Char('R'), QStringLiteral("Rus"), true);
}

void LanguageMenu::switchTo(QChar code, const QString &section, bool russianTicked)
{
    shared_.LanguageCode = code;
    TranslateForm(window_, section, dictionaryPath(shared_), boxes_);
    russianTicked_ = russianTicked;
    showTicks();
}

void LanguageMenu::showTicks()
{
    russian_->setChecked(russianTicked_);
    english_->setChecked(!russianTicked_);
}

} // namespace zarven
