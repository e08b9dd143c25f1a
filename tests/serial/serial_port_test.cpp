#include "pty_support.h"

#include "serial/ser_com_port.h"

#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kPort = 3;

// An open port whose device is the master side of a pseudo-terminal.
class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isValid());
        ASSERT_TRUE(ports.link(kPort, pty.slavePath()));
        port.setPortsFolder(ports.path());
        port.setComNumber(kPort);
        port.setBaud(9600);
        port.setOpen(true);
        ASSERT_TRUE(port.isOpen());
    }

    QByteArray takeAll(quint16 count) {
        QByteArray bytes(count, '\0');
        port.ReadBlock(bytes.data(), count);
        return bytes;
    }

    PtyPair pty;
    PortsFolder ports;
    TSerComPort port;
};

TEST_F(SerialPortTest, BothHandlersShareOneCountAndReadAheadInOrder) {
    struct Call {
        quint16 msg, handle, data, availCount, inCountInAvail;
    };
    std::vector<Call> calls;
    QByteArray received;
    port.setOnTrigger([&](TSerComPort *cp, quint16 msg, quint16 handle, quint16 data) {
        EXPECT_EQ(cp, &port);
        calls.push_back({msg, handle, data, 0, 0});
        received += char(port.ReadChar());
    });
    port.setOnTriggerAvail([&](TSerComPort *cp, quint16 count) {
        EXPECT_EQ(cp, &port);
        calls.back().availCount = count;
        calls.back().inCountInAvail = port.InCount();
        received += takeAll(port.InCount());
    });

    ASSERT_TRUE(pty.feed("hello world"));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 11; }));
    EXPECT_EQ(received, "hello world");
    for (const Call &call : calls) {
        EXPECT_EQ(call.msg, TSerComPort::TriggerAvailMsg);
        EXPECT_EQ(call.handle, call.data);
        EXPECT_EQ(call.availCount, call.data);
        EXPECT_EQ(call.inCountInAvail, call.data - 1);
    }
    EXPECT_EQ(port.InCount(), 0);
}

TEST_F(SerialPortTest, TakingExactlyCountEmptiesTheRing) {
    std::vector<quint16> counts;
    QByteArray received;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        counts.push_back(count);
        for (int i = 0; i < count; ++i)
            received += char(port.ReadChar());
    });

    ASSERT_TRUE(pty.feed("abc"));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 3; }));
    EXPECT_EQ(port.InCount(), 0);
    EXPECT_THROW(port.ReadChar(), EBufferIsEmpty);

    counts.clear();
    ASSERT_TRUE(pty.feed("de"));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 5; }));
    EXPECT_EQ(received, "abcde");
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 2) << "taken bytes counted again";
}

TEST_F(SerialPortTest, LeftoversComeWithTheNextNewBytesOnly) {
    std::vector<quint16> counts;
    bool tookSome = false;
    QByteArray received;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        counts.push_back(count);
        if (!tookSome && count == 10) {
            received += takeAll(4);
            tookSome = true;
        } else if (tookSome) {
            received += takeAll(count);
        }
    });

    ASSERT_TRUE(pty.feed("0123456789"));
    ASSERT_TRUE(waitUntil([&] { return tookSome; }));
    EXPECT_EQ(port.InCount(), 6);
    const size_t before = counts.size();
    runEventsFor(100);
    EXPECT_EQ(counts.size(), before) << "leftovers alone must not notify again";

    ASSERT_TRUE(pty.feed("abc"));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 13; }));
    EXPECT_EQ(counts[before], 9);
    EXPECT_EQ(received, "0123456789abc");
}

TEST_F(SerialPortTest, ReadBlockAskingTooMuchTakesNothing) {
    ASSERT_TRUE(pty.feed("xyz"));
    ASSERT_TRUE(waitUntil([&] { return port.InCount() == 3; }));
    char buf[4] = {};
    EXPECT_THROW(port.ReadBlock(buf, 4), EBufferIsEmpty);
    EXPECT_EQ(port.InCount(), 3);
    port.ReadBlock(buf, 3);
    EXPECT_EQ(QByteArray(buf, 3), "xyz");
}

TEST_F(SerialPortTest, ClearInputDropsEverythingUnreadEvenInsideANotification) {
    std::vector<quint16> counts;
    std::vector<quint16> inCountAfterClear;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        counts.push_back(count);
        port.ReadChar();
        port.ClearInput();
        inCountAfterClear.push_back(port.InCount());
    });

    ASSERT_TRUE(pty.feed("0123456789"));
    ASSERT_TRUE(waitUntil([&] { return !counts.empty(); }));
    runEventsFor(50);
    counts.clear();
    ASSERT_TRUE(pty.feed("ab"));
    ASSERT_TRUE(waitUntil([&] { return !counts.empty(); }));
    EXPECT_LE(counts.front(), 2) << "cleared bytes came back";
    for (quint16 n : inCountAfterClear)
        EXPECT_EQ(n, 0);

    port.setOnTriggerAvail(nullptr);
    ASSERT_TRUE(pty.feed("cd"));
    ASSERT_TRUE(waitUntil([&] { return port.InCount() == 2; }));
    port.ClearInput();
    EXPECT_EQ(port.InCount(), 0);
    EXPECT_THROW(port.ReadChar(), EBufferIsEmpty);
}

// A clear inside a notification drops what the wake-up brought and keeps what arrives while the
// handler runs: the head of the next frame survives the clear.
TEST_F(SerialPortTest, ClearInsideANotificationKeepsBytesArrivingMeanwhile) {
    QByteArray received;
    bool cleared = false;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        if (cleared) {
            received += takeAll(count);
            return;
        }
        port.ReadChar();
        pty.feed("next");
        QThread::msleep(20);
        port.ClearInput();
        cleared = true;
    });

    ASSERT_TRUE(pty.feed("0123456789"));
    ASSERT_TRUE(waitUntil([&] { return received.size() >= 4; }));
    runEventsFor(50);
    EXPECT_EQ(received, "next");
}

// More than the ring holds: the rest waits and moves in, in order, as the handler takes bytes.
TEST_F(SerialPortTest, DataBeyondTheRingWaitsAndArrivesInOrder) {
    QByteArray sent(40000, '\0');
    for (int i = 0; i < sent.size(); ++i)
        sent[i] = char((i * 7 + i / 251) & 0xFF);

    QByteArray received;
    quint16 maxCount = 0;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        maxCount = std::max(maxCount, count);
        received += takeAll(std::min<quint16>(count, 100));
    });

    ASSERT_TRUE(pty.feed(sent));
    // What the handler left unread waits for new bytes that never come: take it here.
    ASSERT_TRUE(waitUntil([&] { return received.size() + port.InCount() == sent.size(); }, 20000));
    received += takeAll(port.InCount());
    EXPECT_TRUE(received == sent);
    EXPECT_EQ(maxCount, TSerReceiveRing::Size);
}

// A full ring with a handler that takes nothing: reading outside a notification makes room.
TEST_F(SerialPortTest, ReadingOutsideANotificationLetsWaitingBytesIn) {
    QByteArray sent(TSerReceiveRing::Size + 500, 'q');
    sent.back() = 'z';
    port.setOnTriggerAvail([](TSerComPort *, quint16) {});
    ASSERT_TRUE(pty.feed(sent));
    ASSERT_TRUE(waitUntil([&] { return port.InCount() == TSerReceiveRing::Size; }));

    QByteArray received = takeAll(port.InCount());
    ASSERT_TRUE(waitUntil([&] { return port.InCount() == 500; }));
    received += takeAll(500);
    EXPECT_TRUE(received == sent);
}

TEST_F(SerialPortTest, ALetEventsRunHandlerGetsNoNestedNotification) {
    int depth = 0;
    int maxDepth = 0;
    QByteArray received;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        maxDepth = std::max(maxDepth, ++depth);
        received += takeAll(count);
        if (received == "first") {
            pty.feed("second");
            runEventsFor(100);
        }
        --depth;
    });

    ASSERT_TRUE(pty.feed("first"));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 11; }));
    EXPECT_EQ(received, "firstsecond");
    EXPECT_EQ(maxDepth, 1);
}

TEST_F(SerialPortTest, AnEscapingExceptionGoesToTheApplicationAndDeliveryGoesOn) {
    std::vector<int> codes;
    TSerComPort handled([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const ESerException &e) {
            codes.push_back(e.code());
        } catch (...) {
            codes.push_back(0);
        }
    });
    port.setOpen(false);
    handled.setPortsFolder(ports.path());
    handled.setComNumber(kPort);
    handled.setBaud(9600);
    handled.setOpen(true);
    TSerComPort &port = handled;
    std::vector<quint16> counts;
    port.setOnTriggerAvail([&](TSerComPort *, quint16 count) {
        counts.push_back(count);
        if (counts.size() == 1) {
            port.ReadChar();
            char buf[TSerReceiveRing::Size];
            port.ReadBlock(buf, count); // one more than is left
        }
        if (counts.size() == 2)
            throw std::runtime_error("handler failed");
    });

    ASSERT_TRUE(pty.feed("abc"));
    ASSERT_TRUE(waitUntil([&] { return counts.size() == 1; }));
    runEventsFor(20);
    ASSERT_TRUE(pty.feed("d"));
    ASSERT_TRUE(waitUntil([&] { return counts.size() == 2; }));
    ASSERT_TRUE(pty.feed("e"));
    ASSERT_TRUE(waitUntil([&] { return counts.size() == 3; }));

    EXPECT_EQ(codes, (std::vector<int>{EBufferIsEmpty::Code, 0}));
    // The byte taken before the throw is gone, the rest stays unread.
    EXPECT_EQ(counts[1], counts[0]);
    EXPECT_EQ(counts[2], counts[1] + 1);
}

// A close asked for while a notification runs completes when the handler returns; opening
// meanwhile is ignored.
TEST_F(SerialPortTest, CloseInsideANotificationCompletesAfterTheHandler) {
    for (const bool fromTimer : {false, true}) {
        SCOPED_TRACE(fromTimer ? "close from a timer run inside the handler" : "close in handler");
        if (!port.isOpen())
            port.setOpen(true);
        bool closeRequested = false;
        bool openInside = false, reopenIgnored = false;
        int inCountInside = -1, readInside = -1;
        int notifications = 0;
        auto requestClose = [&] {
            port.setOpen(false);
            closeRequested = true;
            openInside = port.isOpen();
            port.setOpen(true);
            reopenIgnored = port.isOpen();
            inCountInside = port.InCount();
            readInside = port.ReadChar();
            port.ClearInput();
            port.WriteChar('x');
        };
        port.setOnTriggerAvail([&](TSerComPort *, quint16) {
            ++notifications;
            if (fromTimer) {
                QTimer::singleShot(0, requestClose);
                waitUntil([&] { return closeRequested; });
            } else {
                requestClose();
            }
            EXPECT_TRUE(port.isOpen());
        });

        ASSERT_TRUE(pty.feed("abc"));
        ASSERT_TRUE(waitUntil([&] { return notifications > 0 && !port.isOpen(); }));
        EXPECT_TRUE(openInside);
        EXPECT_TRUE(reopenIgnored);
        EXPECT_EQ(inCountInside, 0);
        EXPECT_EQ(readInside, 0);
        EXPECT_EQ(port.InCount(), 0);
        EXPECT_EQ(notifications, 1);

        // The device was released: the port opens again and works.
        port.setOnTriggerAvail(nullptr);
        port.setOpen(true);
        ASSERT_TRUE(pty.feed("z"));
        ASSERT_TRUE(waitUntil([&] { return port.InCount() == 1; }));
        port.setOpen(false);
    }
}

TEST_F(SerialPortTest, OpeningAnOpenPortOrClosingAClosedOneChangesNothing) {
    EXPECT_NO_THROW(port.setOpen(true));
    EXPECT_TRUE(port.isOpen());
    ASSERT_TRUE(pty.feed("ok"));
    ASSERT_TRUE(waitUntil([&] { return port.InCount() == 2; }));

    port.setOpen(false);
    EXPECT_NO_THROW(port.setOpen(false));
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, WrittenBytesReachTheDevice) {
    for (quint8 c : {quint8(5), quint8(0), quint8(0xAA), quint8('\n')})
        port.WriteChar(c);
    EXPECT_EQ(pty.receive(4), QByteArray("\x05\x00\xAA\n", 4));
}

TEST_F(SerialPortTest, WriteCharRefusesWhenTheOutputIsFull) {
    int accepted = 0;
    try {
        for (; accepted < 100000; ++accepted)
            port.WriteChar('w');
        FAIL() << "output never filled up";
    } catch (const EOutputBufferTooSmall &e) {
        EXPECT_EQ(e.code(), -3006);
    }
    EXPECT_EQ(accepted, TSerComPort::OutSize);
}

TEST_F(SerialPortTest, AVanishedDeviceLeavesThePortOpenUntilItIsClosed) {
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] {
        try {
            port.WriteChar('x');
            return false;
        } catch (const ESerialIO &) {
            return true;
        }
    }));
    EXPECT_TRUE(port.isOpen());
    port.setOpen(false);
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPortClosed, OperationsRefuseAndInCountIsZero) {
    TSerComPort port;
    EXPECT_EQ(port.baud(), 19200);
    EXPECT_EQ(port.InCount(), 0);
    char buf[1];
    const std::vector<std::function<void()>> operations = {
        [&] { port.ReadChar(); },
        [&] { port.ReadBlock(buf, 1); },
        [&] { port.WriteChar('a'); },
        [&] { port.ClearInput(); },
    };
    for (const auto &operation : operations) {
        try {
            operation();
            ADD_FAILURE() << "no exception";
        } catch (const EOpenComm &e) {
            EXPECT_EQ(e.code(), ECommNotOpen::Code);
        }
    }
}

TEST(SerialPortOpening, FailuresRaiseTheirErrorAndLeaveThePortClosed) {
    PtyPair pty;
    PortsFolder ports;
    ASSERT_TRUE(ports.link(3, pty.slavePath()));
    ASSERT_TRUE(ports.link(7, ports.missingDevice()));
    TSerComPort holder;
    holder.setPortsFolder(ports.path());
    holder.setComNumber(3);
    holder.setOpen(true);

    struct Case {
        const char *what;
        quint16 number;
        int baud;
        int code;
    };
    const Case cases[] = {
        {"no port selected", 0, 9600, ENoPortSelected::Code},
        {"linked device missing", 7, 9600, EBadId::Code},
        {"number without a device", 200, 9600, EBadId::Code},
        {"held by another open port", 3, 9600, EAlreadyOpen::Code},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TSerComPort port;
        port.setPortsFolder(ports.path());
        port.setComNumber(c.number);
        port.setBaud(c.baud);
        try {
            port.setOpen(true);
            ADD_FAILURE() << "opened";
        } catch (const EOpenComm &e) {
            EXPECT_EQ(e.code(), c.code);
        }
        EXPECT_FALSE(port.isOpen());
    }

    holder.setOpen(false);
    TSerComPort port;
    port.setPortsFolder(ports.path());
    port.setComNumber(3);
    port.setBaud(0);
    EXPECT_THROW(port.setOpen(true), EOpenComm) << "a bit rate the line cannot take";
    EXPECT_FALSE(port.isOpen());
    port.setBaud(9600);
    port.setOpen(true);
    EXPECT_TRUE(port.isOpen()) << "a failed open leaves the port ready for another attempt";
}

} // namespace
