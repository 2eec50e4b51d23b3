#pragma once
// The user guide inside the tool ("Справка"): a window beside the main one
// that shows the guide, with its pictures, in the window's language. The
// guide is built into the program, so it is there wherever the program runs.
// A picture wider than the view is shown scaled down to the view's width;
// clicking a picture opens it at full size in a window of its own.

#include <QChar>
#include <QDialog>

class QTextBrowser;
class QUrl;

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
    // The window of the picture clicked last; null before the first click.
    QDialog *pictureWindow() const { return picture_; }

    // The address a picture links to: the picture's own name under the
    // scheme the window keeps for itself.
    static QString pictureScheme() { return QStringLiteral("zarven-picture"); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitPictures();
    void follow(const QUrl &url);
    void showPicture(const QString &name);

    QTextBrowser *browser_;
    QDialog *picture_ = nullptr;
    int fittedWidth_ = -1;
};

} // namespace zarven
