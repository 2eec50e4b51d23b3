#include "app/main_window.h"
#include "translate/language_menu.h"

#include <QAction>

namespace zarven {

void TForm1::wireTranslation()
{
    auto *languageMenu = new LanguageMenu(this, shared, boxes, menu_russian, menu_english);
    connect(menu_russian, &QAction::triggered, this, [this, languageMenu] {
        guarded([languageMenu] { languageMenu->menu_russianClick(); });
        languageMenu->showTicks();
    });
    connect(menu_english, &QAction::triggered, this, [this, languageMenu] {
        guarded([languageMenu] { languageMenu->menu_englishClick(); });
        languageMenu->showTicks();
    });
}

} // namespace zarven
