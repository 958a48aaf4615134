#include <gtest/gtest.h>

#include <vector>

#include "serial/ProtocolCore.h"
#include "tests/support/core/HexBytes.h"

namespace mb {
namespace {

using test::HexBytes;
using Bytes = std::vector<std::uint8_t>;

const Bytes kCj188Reply = HexBytes("FE FE 68 10 01 00 00 00 00 00 00 81 03 1F 90 00 AC 16");
const Bytes kMbusReply = HexBytes("68 03 03 68 08 01 72 7B 16");
const Cj188Fields kFields{"1234567890", "33", "78", " - 10H"};

TEST(ReceivePath, CountsEchoesAndPassesAnAwaitedCj188Reply) {
    ProtocolCore core;
    const Transmission t = core.cj188ReadData(kFields);
    EXPECT_EQ(core.parseMode(), ParseMode::Cj188);
    EXPECT_TRUE(core.awaitingReply());
    EXPECT_EQ(t.bytes.size(), 19u);

    const ReceiveResult first =
        core.onReceived(Bytes(kCj188Reply.begin(), kCj188Reply.begin() + 10));
    EXPECT_FALSE(first.checkPass);
    EXPECT_EQ(first.echo, "FE FE 68 10 01 00 00 00 00 00 ");
    const ReceiveResult second =
        core.onReceived(Bytes(kCj188Reply.begin() + 10, kCj188Reply.end()));
    EXPECT_TRUE(second.checkPass);
    EXPECT_EQ(second.echo, "00 81 03 1F 90 00 AC 16 ");
    EXPECT_EQ(core.RxCount(), 18);
    EXPECT_EQ(core.parseMode(), ParseMode::None);
    EXPECT_FALSE(core.awaitingReply());
    EXPECT_FALSE(core.frameComplete());

    // The same reply again: only stored and echoed, the mode is 0 by now.
    const ReceiveResult again = core.onReceived(kCj188Reply);
    EXPECT_FALSE(again.checkPass);
    EXPECT_EQ(again.echo.size(), kCj188Reply.size() * 3);
    EXPECT_EQ(core.RxCount(), 36);
    EXPECT_TRUE(core.ring().RingHasData());
}

TEST(ReceivePath, ModeZeroStoresButNeverParses) {
    ProtocolCore core;
    core.setAwaitingReply(true);
    EXPECT_FALSE(core.onReceived(kCj188Reply).checkPass);
    EXPECT_EQ(core.ring().RingReadPos(), 0);
    // A later Read Data scans the bytes left unread first, at its first event.
    core.cj188ReadData(kFields);
    EXPECT_TRUE(core.onReceived({}).checkPass);
}

TEST(ReceivePath, EmptyEventStillRunsTheParser) {
    ProtocolCore core;
    core.onReceived(kCj188Reply);  // mode 0: left unread
    core.setParseMode(ParseMode::Cj188);
    core.setAwaitingReply(true);
    std::string echo = "kept ";
    EXPECT_TRUE(core.onReceived({}, echo));
    EXPECT_EQ(echo, "kept ");
    EXPECT_EQ(core.RxCount(), 18);
}

TEST(ReceivePath, AcceptedFrameWithoutAwaitedReplyKeepsTheMode) {
    ProtocolCore core;
    core.setParseMode(ParseMode::Mbus);
    EXPECT_FALSE(core.onReceived(kMbusReply).checkPass);
    EXPECT_TRUE(core.frameComplete());
    EXPECT_EQ(core.parseMode(), ParseMode::Mbus);
    // FrameComplete is reset before the next dispatch.
    core.setAwaitingReply(true);
    EXPECT_TRUE(core.onReceived(kMbusReply).checkPass);
}

TEST(ReceivePath, ReadIdLeavesTheModeOfAnUnansweredReadData) {
    ProtocolCore core;
    core.cj188ReadData(kFields);
    core.cj188ReadId(" - 10H");
    EXPECT_EQ(core.parseMode(), ParseMode::Cj188);
    const Bytes addressReply = HexBytes("FE FE FE 68 10 12 00 00 00 00 00 00 83 03 0A 81 01 9C 16");
    EXPECT_TRUE(core.onReceived(addressReply).checkPass);
    EXPECT_EQ(core.parseMode(), ParseMode::None);
}

TEST(ReceivePath, ReadIdAloneAwaitsButParsesNothing) {
    ProtocolCore core;
    core.cj188ReadId(" - 10H");
    EXPECT_TRUE(core.awaitingReply());
    EXPECT_EQ(core.parseMode(), ParseMode::None);
    EXPECT_FALSE(core.onReceived(kCj188Reply).checkPass);
}

TEST(ReceivePath, MbusReadDataPassesALongFrameButNotAnAcknowledge) {
    ProtocolCore core;
    const Transmission t = core.mbusReadData("01");
    EXPECT_EQ(t.paneText, "10 5B 01 5C 16 ");
    EXPECT_EQ(t.bytes, HexBytes("10 5B 01 5C 16"));
    EXPECT_EQ(core.parseMode(), ParseMode::Mbus);
    EXPECT_FALSE(core.onReceived(HexBytes("10 5B 01 5C 16 E5")).checkPass);  // echo and ack
    EXPECT_TRUE(core.onReceived(kMbusReply).checkPass);
}

TEST(ReceivePath, EchoedModificationIdPassesUnderModeTwo) {
    ProtocolCore core;
    core.mbusReadData("");
    const Transmission t = core.mbusModifyId("05");
    EXPECT_EQ(core.parseMode(), ParseMode::Mbus);
    EXPECT_TRUE(core.onReceived(t.bytes).checkPass);
}

TEST(ReceivePath, OtherPagesReadDataSwitchesTheParser) {
    ProtocolCore core;
    core.cj188ReadData(kFields);
    core.mbusReadData("01");
    // A CJ188 reply is now read as M-Bus: its byte at index 2 (0x12) is taken
    // as L, so no checksum position is reached and nothing passes.
    EXPECT_FALSE(
        core.onReceived(HexBytes("FE FE FE 68 10 12 00 00 00 00 00 00 83 03 0A 81 01 9C 16"))
            .checkPass);
    EXPECT_EQ(core.parseMode(), ParseMode::Mbus);
    EXPECT_EQ(core.collector().FrameIndex, 16);
}

// The parsers keep their own running sum: building any request while a reply
// is half collected (continuous reading with a short interval) must not spoil
// that reply.
TEST(ReceivePath, RequestBuiltMidReplyDoesNotBreakIt) {
    for (std::size_t split = 3; split < 16; ++split) {
        ProtocolCore core;
        core.cj188ReadData(kFields);
        EXPECT_FALSE(
            core.onReceived(Bytes(kCj188Reply.begin(), kCj188Reply.begin() + split)).checkPass);
        core.cj188ReadData(kFields);  // the next timer tick
        core.cj188ReadId(" - 21H");
        core.mbusModifyId("07");
        EXPECT_TRUE(
            core.onReceived(Bytes(kCj188Reply.begin() + split, kCj188Reply.end())).checkPass)
            << "split " << split;
    }
    for (std::size_t split = 1; split < 8; ++split) {
        ProtocolCore core;
        core.mbusReadData("01");
        core.onReceived(Bytes(kMbusReply.begin(), kMbusReply.begin() + split));
        core.mbusReadData("01");
        core.cj188ReadData(kFields);
        core.setParseMode(ParseMode::Mbus);
        EXPECT_TRUE(core.onReceived(Bytes(kMbusReply.begin() + split, kMbusReply.end())).checkPass)
            << "split " << split;
    }
}

TEST(SendSequence, CountsOnlyWhatThePortTookAndResets) {
    ProtocolCore core;
    const Transmission t = core.cj188ReadData(kFields);
    EXPECT_EQ(t.paneText, "FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16 ");
    EXPECT_EQ(t.bytes, HexBytes("FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16"));
    // Building a request sends nothing yet, so nothing is counted.
    EXPECT_EQ(core.TxCount(), 0);
    core.countSent(static_cast<std::int64_t>(t.bytes.size()));
    EXPECT_EQ(core.TxCount(), 19);
    core.countSent(static_cast<std::int64_t>(core.cj188ReadId(" - 10H").bytes.size()));
    EXPECT_EQ(core.TxCount(), 38);
    core.countSent(static_cast<std::int64_t>(core.mbusReadData("").bytes.size()));
    EXPECT_EQ(core.TxCount(), 43);
    core.countSent(static_cast<std::int64_t>(core.mbusModifyId("").bytes.size()));
    EXPECT_EQ(core.TxCount(), 55);
    core.resetTxCount();
    EXPECT_EQ(core.TxCount(), 0);
    core.onReceived(HexBytes("01 02"));
    core.resetRxCount();
    core.onReceived(HexBytes("03"));
    EXPECT_EQ(core.RxCount(), 1);
}

TEST(SendSequence, RequestsWriteTheSharedTxBuffer) {
    ProtocolCore core;
    core.cj188ReadData(kFields);
    core.mbusReadData("01");
    // Only indices 0..4 were rewritten; the CJ188 frame's tail is still there.
    EXPECT_EQ(core.txBuffer()[4], 0x16);
    EXPECT_EQ(core.txBuffer()[17], 0x7B);
    EXPECT_EQ(core.transmitFrame(18).bytes.size(), 19u);
}

TEST(SendSequence, ClsCharForwardsToTheRing) {
    ProtocolCore core;
    core.onReceived(HexBytes("01 02 03"));
    core.ClsChar(2);
    EXPECT_EQ(core.ring().RingReadPos(), 2);
    EXPECT_EQ(core.ring().Cell(0), 0);
}

}  // namespace
}  // namespace mb
