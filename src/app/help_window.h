#pragma once
// The user guide inside the tool ("Справка"): a window beside the main one
// that shows the guide, with its pictures, in the window's language. The
// guide is built into the program, so it is there wherever the program runs.

#include <QChar>
#include <QDialog>

class QTextBrowser;

namespace zarven {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the guide of the language ("R" or "E") from its top, titled
    // with the caption of the menu item that opened it.
    void showGuide(QChar languageCode, const QString &title);

    // The guide's address for a language.
    static QUrl guideUrl(QChar languageCode);

    QTextBrowser *browser() const { return browser_; }

private:
    QTextBrowser *browser_;
};

} // namespace zarven
