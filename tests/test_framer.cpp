#include "serial/framer.h"

#include <QtTest>

using namespace zarven;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A framer set up as the window uses it, collecting what it delivers.
struct Harness {
    PacketFramer framer;
    QList<QByteArray> packets;
    QList<QByteArray> discarded;

    Harness()
    {
        framer.setStartString(hex("FEFF"));
        framer.setStopString(hex("FFFE"));
        framer.setMaxBufferSize(1024);
        framer.setOnPacket([this](const QByteArray &p) { packets << p; });
        framer.setOnDiscard([this](const QByteArray &d) { discarded << d; });
    }

    QList<QByteArray> feed(std::initializer_list<QByteArray> chunks)
    {
        for (const auto &c : chunks)
            framer.FeedBytes(c);
        return packets;
    }
};

} // namespace

class FramerTest : public QObject {
    Q_OBJECT
private slots:
    void packetSplitAcrossThreeChunksIsDeliveredOnce()
    {
        Harness h;
        QCOMPARE(h.feed({hex("FE"), hex("FF4F6EFF"), hex("FE")}), QList<QByteArray>{"On"});
    }

    void markerLookalikesInsidePackets_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::newRow("empty packet") << hex("FEFFFFFE") << QList<QByteArray>{QByteArray()};
        QTest::newRow("FE as content") << hex("FEFFFEFFFE") << QList<QByteArray>{hex("FE")};
        QTest::newRow("FF as content") << hex("FEFFFFFFFE") << QList<QByteArray>{hex("FF")};
        QTest::newRow("second start marker is content")
            << hex("FEFF41FEFF42FFFE") << QList<QByteArray>{hex("41FEFF42")};
        QTest::newRow("leading junk dropped") << hex("3132FEFF41FFFE") << QList<QByteArray>{hex("41")};
        QTest::newRow("two packets in one chunk")
            << hex("FEFF41FFFEFEFF42FFFE") << QList<QByteArray>{hex("41"), hex("42")};
        QTest::newRow("zero bytes are content")
            << hex("FEFF00410000FFFE") << QList<QByteArray>{hex("00410000")};
        QTest::newRow("first stop marker ends the packet")
            << hex("FEFF41FFFE42FFFE") << QList<QByteArray>{hex("41")};
    }

    void markerLookalikesInsidePackets()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QList<QByteArray>, expected);
        Harness h;
        QCOMPARE(h.feed({stream}), expected);
    }

    // Whatever the line's timing, a stream must give the same packets: feed
    // it in every two-chunk split and byte by byte.
    void everySplitOfAStreamGivesTheSamePackets()
    {
        const QByteArray stream = hex("3132FEFF5436207631FFFEFEFFFFFEFEFF41FEFF42FFFE99FEFF2B4353513A2031372C30FFFE");
        const QList<QByteArray> expected = {hex("5436207631"), QByteArray(), hex("41FEFF42"),
                                            QByteArray("+CSQ: 17,0")};
        for (int cut = 0; cut <= stream.size(); ++cut) {
            Harness h;
            h.feed({stream.left(cut), stream.mid(cut)});
            QVERIFY2(h.packets == expected, qPrintable(QStringLiteral("split at %1").arg(cut)));
        }
        Harness bytewise;
        for (char c : stream)
            bytewise.framer.FeedBytes(QByteArray(1, c));
        QCOMPARE(bytewise.packets, expected);
    }

    void restOfAChunkWaitsForTheNextPacket()
    {
        Harness h;
        h.feed({hex("FEFF4142")});
        QVERIFY(h.packets.isEmpty());
        h.feed({hex("FFFE43")});
        QCOMPARE(h.packets, QList<QByteArray>{hex("4142")});
        QCOMPARE(h.framer.pendingBuffer(), hex("43"));
        QVERIFY(!h.framer.inPacket());
    }

    void bytesWithoutStartMarkerAreDroppedAt1024()
    {
        Harness h;
        h.feed({QByteArray(1023, 'x')});
        QCOMPARE(h.framer.pendingBuffer().size(), 1023);
        QVERIFY(h.discarded.isEmpty());
        h.feed({QByteArray("x")});
        QCOMPARE(h.framer.pendingBuffer().size(), 0);
        QCOMPARE(h.discarded.size(), 1);
        QCOMPARE(h.discarded.first().size(), 1024);
        h.feed({hex("FEFF41FFFE")});
        QCOMPARE(h.packets, QList<QByteArray>{hex("41")});
    }

    void overlongPacketIsDroppedAndItsStopMarkerWaitsAsJunk()
    {
        Harness h;
        h.feed({hex("FEFF") + QByteArray(1022, 'a')});
        QVERIFY(h.packets.isEmpty());
        QVERIFY(h.framer.pendingBuffer().isEmpty());
        QVERIFY(!h.framer.inPacket());
        h.feed({hex("FFFE")});
        QVERIFY(h.packets.isEmpty());
        QCOMPARE(h.framer.pendingBuffer(), hex("FFFE"));
        h.feed({hex("FEFF42FFFE")});
        QCOMPARE(h.packets, QList<QByteArray>{hex("42")});
    }

    void longPacketSurvivesWhenItsStopMarkerArrivesInTheSameChunk()
    {
        Harness h;
        const QByteArray content(1500, 'b');
        h.feed({hex("FEFF") + content + hex("FFFE")});
        QCOMPARE(h.packets, QList<QByteArray>{content});
    }

    // The overflow check follows the whole feed, not each packet: a long
    // packet behind a short one in the same chunk is still delivered.
    void longPacketBehindAShortOneInTheSameChunkSurvives()
    {
        Harness h;
        const QByteArray content(1100, 'B');
        QCOMPARE(h.feed({hex("FEFF41FFFE") + hex("FEFF") + content + hex("FFFE")}),
                 (QList<QByteArray>{hex("41"), content}));
    }

    void settingTheSameMarkerAgainKeepsAHalfReceivedPacket()
    {
        Harness h;
        h.feed({hex("FEFF4142")});
        h.framer.setStartString(hex("FEFF"));
        h.framer.setStopString(hex("FFFE"));
        h.feed({hex("FFFE")});
        QCOMPARE(h.packets, QList<QByteArray>{hex("4142")});
    }

    void changingAMarkerEmptiesTheBuffer()
    {
        Harness h;
        h.feed({hex("FEFF4142")});
        h.framer.setStopString(hex("0D0A"));
        QVERIFY(h.framer.pendingBuffer().isEmpty());
        QVERIFY(!h.framer.inPacket());
        QCOMPARE(h.discarded, QList<QByteArray>{hex("FEFF4142")});
    }

    void errorInPacketHandlerLeavesFramerConsistent()
    {
        Harness h;
        int calls = 0;
        h.framer.setOnPacket([&](const QByteArray &p) {
            ++calls;
            h.packets << p;
            if (calls == 1)
                throw std::runtime_error("handler failed");
        });
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, h.framer.FeedBytes(hex("FEFF41FFFEFEFF42FFFE")));
        QCOMPARE(h.packets, QList<QByteArray>{hex("41")});
        QCOMPARE(h.framer.pendingBuffer(), hex("FEFF42FFFE"));
        h.framer.FeedBytes(QByteArray());
        QCOMPARE(h.packets, (QList<QByteArray>{hex("41"), hex("42")}));
    }

    void caseInsensitiveMarkersMatchLettersOnly()
    {
        PacketFramer framer;
        QList<QByteArray> packets;
        framer.setOnPacket([&](const QByteArray &p) { packets << p; });
        framer.setStartString("<a");
        framer.setStopString("b>");
        framer.setCaseInsensitive(true);
        framer.FeedBytes("xx<AhelloB>");
        QCOMPARE(packets, QList<QByteArray>{"hello"});
    }

    void withoutStopConditionEachChunkIsAPacket()
    {
        PacketFramer framer;
        QList<QByteArray> packets;
        framer.setOnPacket([&](const QByteArray &p) { packets << p; });
        framer.FeedBytes("ab");
        framer.FeedBytes("c");
        QCOMPARE(packets, (QList<QByteArray>{"ab", "c"}));
        QVERIFY(framer.pendingBuffer().isEmpty());
    }

    // The custom stop hook decides before the markers: a length cuts there
    // (a stop marker inside stays content, the one at the end is removed),
    // 0 holds the packet open, -1 leaves it to the stop marker.
    void customStopHookDecidesBeforeTheMarkers()
    {
        Harness h;
        qsizetype answer = 0;
        h.framer.setOnCustomStop([&answer](const QByteArray &) { return answer; });
        QVERIFY(h.feed({hex("FEFF41FFFE42")}).isEmpty());
        answer = 8;
        h.framer.FeedBytes(hex("FFFE"));
        answer = -1;
        QCOMPARE(h.feed({hex("FEFF43FFFE")}), (QList<QByteArray>{hex("41FFFE42"), hex("43")}));
        QVERIFY(h.framer.pendingBuffer().isEmpty());
    }

    void fixedSizePacketsAreCut()
    {
        PacketFramer framer;
        QList<QByteArray> packets;
        framer.setOnPacket([&](const QByteArray &p) { packets << p; });
        framer.setSize(3);
        framer.FeedBytes("abcdefg");
        QCOMPARE(packets, (QList<QByteArray>{"abc", "def"}));
        QCOMPARE(framer.pendingBuffer(), QByteArray("g"));
    }
};

QTEST_GUILESS_MAIN(FramerTest)
#include "test_framer.moc"
