// The real Qt message boxes: only a click on Yes answers a confirmation or a
// question Yes; closing the box or pressing Escape answers "not Yes".

#include "core/message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace zarven;

namespace {

enum class UserAct { ClickYes, Escape, CloseBox };

} // namespace

class MessageBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void onlyAClickOnYesAnswersYes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("act");
        QTest::addColumn<bool>("yes");
        const int confirmation = int(BoxKind::Confirmation);
        const int question = int(BoxKind::Question);
        QTest::newRow("confirmation, Yes") << confirmation << int(UserAct::ClickYes) << true;
        QTest::newRow("confirmation, Escape") << confirmation << int(UserAct::Escape) << false;
        QTest::newRow("confirmation, close box") << confirmation << int(UserAct::CloseBox) << false;
        QTest::newRow("question, Yes") << question << int(UserAct::ClickYes) << true;
        QTest::newRow("question, Escape") << question << int(UserAct::Escape) << false;
        QTest::newRow("question, close box") << question << int(UserAct::CloseBox) << false;
    }

    void onlyAClickOnYesAnswersYes()
    {
        QFETCH(int, kind);
        QFETCH(int, act);
        QFETCH(bool, yes);
        QtMessageBoxes boxes;
        bool closedByTheUser = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            switch (UserAct(act)) {
            case UserAct::ClickYes:
                QTest::mouseClick(static_cast<QWidget *>(box->button(QMessageBox::Yes)), Qt::LeftButton);
                break;
            case UserAct::Escape:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            case UserAct::CloseBox: {
                // What the window manager sends when the close box is clicked.
                QCloseEvent close;
                QApplication::sendEvent(box, &close);
                break;
            }
            }
            closedByTheUser = !box->isVisible();
            // A box that refused to close must not hang the test.
            if (!closedByTheUser)
                box->done(QMessageBox::No);
        });
        const bool answer = boxes.show(BoxKind(kind), QStringLiteral("соединение установлено."));
        QVERIFY(closedByTheUser);
        QCOMPARE(answer, yes);
    }
};

QTEST_MAIN(MessageBoxesTest)
#include "test_message_boxes.moc"
