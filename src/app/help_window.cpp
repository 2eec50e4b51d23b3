#include "app/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The guide lives in the core library, a static library, so its resources
// are registered explicitly; this must be outside any namespace.
static void initGuideResources()
{
    Q_INIT_RESOURCE(guide);
}

namespace zarven {

HelpWindow::HelpWindow(QWidget *parent) : QDialog(parent), browser_(new QTextBrowser(this))
{
    initGuideResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setModal(false);
    resize(820, 640);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    // Links to web pages open in the user's browser, links inside the guide
    // stay here.
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

QUrl HelpWindow::guideUrl(QChar languageCode)
{
    return QUrl(languageCode == QLatin1Char('E') ? QStringLiteral("qrc:/zarven/docs/user-guide.en.md")
                                                 : QStringLiteral("qrc:/zarven/docs/user-guide.md"));
}

void HelpWindow::showGuide(QChar languageCode, const QString &title)
{
    setWindowTitle(title);
    // Loaded anew each time, from the top; pictures are found relative to
    // the guide's own address.
    browser_->clearHistory();
    browser_->setSource(guideUrl(languageCode), QTextDocument::MarkdownResource);
    show();
    raise();
    activateWindow();
}

} // namespace zarven
