#include "app/antenna_window.h"
#include "app/main_window.h"
#include "editor/arming_panel.h"
#include "editor/settings_panels.h"
#include "app/fit_captions.h"
#include "keys/key_panel.h"
#include "translate/language_menu.h"
#include "translate/message_translation.h"
#include "translate/translation.h"

#include <QAction>
#include <QApplication>
#include <QLibraryInfo>
#include <QMenu>
#include <QStatusBar>
#include <QTranslator>

namespace zarven {

void MainWindow::wireTranslation()
{
    auto *languageMenu = new LanguageMenu(this, shared, boxes, russianAction, englishAction);
    languageSwitch_ = [languageMenu](QChar code) {
        if (code == QLatin1Char('E'))
            languageMenu->menu_englishClick();
        else
            languageMenu->menu_russianClick();
    };
    connect(russianAction, &QAction::triggered, this, [this, languageMenu] {
        guarded([this] { switchLanguage(QLatin1Char('R')); });
        languageMenu->showTicks();
    });
    connect(englishAction, &QAction::triggered, this, [this, languageMenu] {
        guarded([this] { switchLanguage(QLatin1Char('E')); });
        languageMenu->showTicks();
    });
}

void MainWindow::switchLanguage(QChar code)
{
    if (shared.LanguageCode == code)
        return;
    // The caption is translated on its own, without the file name and mark
    // around it; the recent files are paths, not captions, and stay out of
    // the dictionary.
    setWindowTitle(caption_);
    menuRecent->clear();
    try {
        languageSwitch_(code);
    } catch (...) {
        caption_ = windowTitle();
        updateTitle();
        rebuildRecentMenu();
        throw;
    }
    caption_ = windowTitle();
    updateTitle();
    rebuildRecentMenu();
    fitCaptions(clientArea);
    panels->armingPanel()->alignDelayBoxes();
    retranslateLabels(statusBar(), [this](const QString &t) { return inLanguage(t); });
    // The key grid is an item view, which the form walk leaves alone.
    keyPanel->retranslateHeaders([this](const QString &t) { return captionInCurrentLanguage(shared, t); });
    keyPanel->setCaptionTranslation([this](const QString &russian) { return inLanguage(russian); });
    antennaWindow->retranslate();
    prefs.setLanguage(shared.LanguageCode);
    applyQtTranslations();
}

void MainWindow::applyQtTranslations()
{
    if (!options.userSession)
        return;
    if (!qtRussian_) {
        qtRussian_ = new QTranslator(this);
        if (!qtRussian_->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            // Without the translations Qt's texts stay English; nothing else
            // depends on them.
            qWarning("Qt's Russian translations (qtbase_ru.qm) were not found");
        }
    }
    if (qtRussian_->isEmpty())
        return;
    if (shared.LanguageCode == QLatin1Char('R'))
        QCoreApplication::installTranslator(qtRussian_);
    else
        QCoreApplication::removeTranslator(qtRussian_);
}

} // namespace zarven
