#pragma once
// Helpers shared by the serial port tests.

#include "pty_pair.h"
#include "serial/comport.h"

#include <QByteArray>
#include <QList>
#include <QtTest>

#include <termios.h>

namespace zarven::test {

// The 256 byte values in order.
QByteArray allByteValues();

// Puts a terminal far from the controller's line settings (cooked, echoing,
// 9600 7E2 with both kinds of flow control, reads that wait), so that a test
// sees the port really change every one of them. False when it cannot.
bool spoilLineSettings(int fd);
speed_t outputSpeed(int fd);

// Processor time of this process so far, in seconds.
double cpuSeconds();
// Runs the event loop for ms milliseconds (as a modal box would); returns
// the processor time it took, which shows a notifier firing in vain.
double runNestedLoop(int ms);
// Far below any loop's own length: an idle loop, not a spinning one.
constexpr double kIdleCpuSeconds = 0.08;

// The text the system gives for an errno value.
QString errnoText(int code);
// What SerialPortError(index, code) should say: "<index text> (error code: N, <errno text>)".
QString comPortErrorText(int index, int code);
constexpr int kAnySystemCode = -2;

// What a port handed over, chunk by chunk.
struct Received {
    QList<QByteArray> chunks;
    QByteArray all() const;
    SerialPort::Receiver receiver() { return [this](const QByteArray &c) { chunks.append(c); }; }
};

} // namespace zarven::test

#define OPEN_PAIR(pair)                                                                                      \
    zarven::test::PtyPair pair;                                                                              \
    QVERIFY2(pair.isOpen() && pair.errorString().isEmpty(), qPrintable(pair.errorString()))

// The statement raises SerialPortError with this index and system code; the text is
// then exactly the index's text with the code and the system's description.
#define EXPECT_COM_ERROR_CODE(statement, expectedIndex, expectedCode)                                        \
    do {                                                                                                     \
        bool thrown_ = false;                                                                                \
        try {                                                                                                \
            statement;                                                                                       \
        } catch (const zarven::SerialPortError &e) {                                                                \
            thrown_ = true;                                                                                  \
            QCOMPARE(e.index(), int(expectedIndex));                                                         \
            if ((expectedCode) == zarven::test::kAnySystemCode) {                                            \
                QVERIFY2(e.message().startsWith(zarven::SerialPortError::indexText(expectedIndex)),                 \
                         qPrintable(e.message()));                                                           \
            } else {                                                                                         \
                QCOMPARE(e.systemCode(), int(expectedCode));                                                 \
                QCOMPARE(e.message(), zarven::test::comPortErrorText(expectedIndex, expectedCode));          \
            }                                                                                                \
        }                                                                                                    \
        QVERIFY2(thrown_, "no SerialPortError raised by " #statement);                                              \
    } while (false)

#define EXPECT_COM_ERROR(statement, expectedIndex)                                                           \
    EXPECT_COM_ERROR_CODE(statement, expectedIndex, zarven::test::kAnySystemCode)
