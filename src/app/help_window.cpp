#include "app/help_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
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
    // Links are followed here: web pages in the user's browser, pictures in
    // a window of their own, the rest of the guide in this one.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::follow);
    browser_->viewport()->installEventFilter(this);
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
    fittedWidth_ = -1;
    fitPictures();
    show();
    raise();
    activateWindow();
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == browser_->viewport() && event->type() == QEvent::Resize)
        fitPictures();
    return QDialog::eventFilter(watched, event);
}

void HelpWindow::fitPictures()
{
    QTextDocument *doc = browser_->document();
    // The room a picture has: the view less the document's margins and a
    // scroll bar that may come.
    const int room = browser_->viewport()->width() - 2 * int(doc->documentMargin())
                     - browser_->verticalScrollBar()->sizeHint().width();
    if (room == fittedWidth_ || room <= 0)
        return;
    fittedWidth_ = room;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            const QImage image = doc->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
            if (image.isNull())
                continue;
            const qreal width = qMin<qreal>(image.width(), room);
            format.setWidth(width);
            format.setHeight(width * image.height() / image.width());
            format.setAnchor(true);
            format.setAnchorHref(pictureScheme() + QLatin1Char(':') + format.name());
            QTextCursor cursor(doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

void HelpWindow::follow(const QUrl &url)
{
    if (url.scheme() == pictureScheme()) {
        showPicture(url.path());
        return;
    }
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
        || url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    browser_->setSource(url, QTextDocument::MarkdownResource);
    fittedWidth_ = -1;
    fitPictures();
}

void HelpWindow::showPicture(const QString &name)
{
    const QImage image = browser_->document()->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
    if (!picture_) {
        picture_ = new QDialog(this);
        picture_->setObjectName(QStringLiteral("helpPicture"));
        auto *area = new QScrollArea(picture_);
        auto *label = new QLabel(area);
        label->setObjectName(QStringLiteral("helpPictureImage"));
        area->setWidget(label);
        auto *layout = new QVBoxLayout(picture_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(area);
    }
    auto *label = picture_->findChild<QLabel *>(QStringLiteral("helpPictureImage"));
    label->setPixmap(QPixmap::fromImage(image));
    label->resize(image.size());
    picture_->setWindowTitle(windowTitle());
    picture_->resize(image.size().boundedTo(QSize(1280, 900)) + QSize(4, 4));
    picture_->show();
    picture_->raise();
}

} // namespace zarven
