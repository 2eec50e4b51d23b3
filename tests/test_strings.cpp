#include "app/cp1251.h"
#include "app/errors.h"
#include "app/strings.h"

#include <QtTest>

using namespace zarven;

class StringsTest : public QObject {
    Q_OBJECT
private slots:
    void placeholder() { QCOMPARE(PhoneDigits(QStringLiteral("+")), QStringLiteral("7")); }
};

QTEST_GUILESS_MAIN(StringsTest)
#include "test_strings.moc"
