#include <gtest/gtest.h>

#include <vector>

#include "cj188/Cj188ReplyParser.h"
#include "cj188/Cj188Operations.h"
#include "mbus/MbusOperations.h"
#include "mbus/MbusLongFrameParser.h"
#include "core/ProtocolCore.h"
#include "tests/core/ParserRig.h"
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
    const Transmission t = mb::cj188ReadData(core, kFields);
    EXPECT_EQ(core.replyShape(), &mb::kCj188ReplyShape);
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
    EXPECT_EQ(core.rxCount(), 18);
    EXPECT_EQ(core.replyShape(), nullptr);
    EXPECT_FALSE(core.awaitingReply());
    EXPECT_FALSE(core.frameComplete());

    // The same reply again: only stored and echoed, the mode is 0 by now.
    const ReceiveResult again = core.onReceived(kCj188Reply);
    EXPECT_FALSE(again.checkPass);
    EXPECT_EQ(again.echo.size(), kCj188Reply.size() * 3);
    EXPECT_EQ(core.rxCount(), 36);
    EXPECT_TRUE(core.ring().ringHasData());
}

TEST(ReceivePath, ModeZeroStoresButNeverParses) {
    ProtocolCore core;
    core.setAwaitingReply(true);
    EXPECT_FALSE(core.onReceived(kCj188Reply).checkPass);
    EXPECT_EQ(core.ring().ringReadPos(), 0);
    // A Read Data arms another parser: it starts from the bytes that come after
    // it, so the old reply cannot make it pass.
    mb::cj188ReadData(core, kFields);
    EXPECT_FALSE(core.onReceived(HexBytes("00")).checkPass);
    EXPECT_TRUE(core.onReceived(kCj188Reply).checkPass);
}

// A reply that came while nothing was awaited never passes a later request,
// whatever arrives after it (one stray byte here).
TEST(ReceivePath, StaleReplyNeverPassesALaterRequest) {
    ProtocolCore core;
    mb::cj188ReadData(core, kFields);
    ASSERT_TRUE(core.onReceived(kCj188Reply).checkPass);
    EXPECT_FALSE(core.onReceived(kCj188Reply).checkPass) << "unasked: nothing awaited";
    mb::cj188ReadData(core, kFields);
    EXPECT_FALSE(core.onReceived(HexBytes("00")).checkPass);
    EXPECT_TRUE(core.onReceived(kCj188Reply).checkPass) << "a real answer still passes";
}

// One receive event larger than the ring: it is stored in slices the ring can
// hold, so the reply at its end is not overwritten before the parser sees it.
TEST(ReceivePath, BurstLargerThanTheRingKeepsTheReplyAtItsEnd) {
    for (std::size_t noise : {2040u, 10000u}) {
        ProtocolCore core;
        mb::cj188ReadData(core, kFields);
        Bytes burst = mb::test::noiseWithout68(noise, 7);
        burst.insert(burst.end(), kCj188Reply.begin(), kCj188Reply.end());
        EXPECT_TRUE(core.onReceived(burst).checkPass) << noise << " bytes before the reply";
        EXPECT_EQ(core.lastFrame(), Bytes(kCj188Reply.begin() + 2, kCj188Reply.end()))
            << "68 to 16, without the two FE";
    }
}

TEST(ReceivePath, EmptyEventStillRunsTheParser) {
    ProtocolCore core;
    core.onReceived(kCj188Reply);  // mode 0: left unread
    core.setReplyShape(&mb::kCj188ReplyShape);
    core.setAwaitingReply(true);
    std::string echo = "kept ";
    EXPECT_TRUE(core.onReceived({}, echo));
    EXPECT_EQ(echo, "kept ");
    EXPECT_EQ(core.rxCount(), 18);
}

TEST(ReceivePath, AcceptedFrameWithoutAwaitedReplyKeepsTheMode) {
    ProtocolCore core;
    core.setReplyShape(&mb::kMbusLongFrameShape);
    EXPECT_FALSE(core.onReceived(kMbusReply).checkPass);
    EXPECT_TRUE(core.frameComplete());
    EXPECT_EQ(core.replyShape(), &mb::kMbusLongFrameShape);
    // FrameComplete is reset before the next dispatch.
    core.setAwaitingReply(true);
    EXPECT_TRUE(core.onReceived(kMbusReply).checkPass);
}

TEST(ReceivePath, ReadIdLeavesTheModeOfAnUnansweredReadData) {
    ProtocolCore core;
    mb::cj188ReadData(core, kFields);
    mb::cj188ReadId(core, " - 10H");
    EXPECT_EQ(core.replyShape(), &mb::kCj188ReplyShape);
    const Bytes addressReply = HexBytes("FE FE FE 68 10 12 00 00 00 00 00 00 83 03 0A 81 01 9C 16");
    EXPECT_TRUE(core.onReceived(addressReply).checkPass);
    EXPECT_EQ(core.replyShape(), nullptr);
}

TEST(ReceivePath, ReadIdAloneAwaitsButParsesNothing) {
    ProtocolCore core;
    mb::cj188ReadId(core, " - 10H");
    EXPECT_TRUE(core.awaitingReply());
    EXPECT_EQ(core.replyShape(), nullptr);
    EXPECT_FALSE(core.onReceived(kCj188Reply).checkPass);
}

TEST(ReceivePath, MbusReadDataPassesALongFrameButNotAnAcknowledge) {
    ProtocolCore core;
    const Transmission t = mb::mbusReadData(core, "01");
    EXPECT_EQ(t.paneText, "10 5B 01 5C 16 ");
    EXPECT_EQ(t.bytes, HexBytes("10 5B 01 5C 16"));
    EXPECT_EQ(core.replyShape(), &mb::kMbusLongFrameShape);
    EXPECT_FALSE(core.onReceived(HexBytes("10 5B 01 5C 16 E5")).checkPass);  // echo and ack
    EXPECT_TRUE(core.onReceived(kMbusReply).checkPass);
}

TEST(ReceivePath, EchoedModificationIdPassesUnderModeTwo) {
    ProtocolCore core;
    mb::mbusReadData(core, "");
    const Transmission t = mb::mbusModifyId(core, "05");
    EXPECT_EQ(core.replyShape(), &mb::kMbusLongFrameShape);
    EXPECT_TRUE(core.onReceived(t.bytes).checkPass);
}

TEST(ReceivePath, OtherPagesReadDataSwitchesTheParser) {
    ProtocolCore core;
    mb::cj188ReadData(core, kFields);
    mb::mbusReadData(core, "01");
    // A CJ188 reply is now read as M-Bus: its header is not 68 L L 68.
    EXPECT_FALSE(
        core.onReceived(HexBytes("FE FE FE 68 10 12 00 00 00 00 00 00 83 03 0A 81 01 9C 16"))
            .checkPass);
    EXPECT_EQ(core.replyShape(), &mb::kMbusLongFrameShape);
    EXPECT_EQ(core.collector().frameIndex, 0);
}

// The parsers keep their own running sum: building any request while a reply
// is half collected (continuous reading with a short interval) must not spoil
// that reply.
TEST(ReceivePath, RequestBuiltMidReplyDoesNotBreakIt) {
    for (std::size_t split = 3; split < 16; ++split) {
        ProtocolCore core;
        mb::cj188ReadData(core, kFields);
        EXPECT_FALSE(
            core.onReceived(Bytes(kCj188Reply.begin(), kCj188Reply.begin() + split)).checkPass);
        mb::cj188ReadData(core, kFields);  // the next timer tick
        mb::cj188ReadId(core, " - 21H");
        mb::mbusModifyId(core, "07");
        EXPECT_TRUE(
            core.onReceived(Bytes(kCj188Reply.begin() + split, kCj188Reply.end())).checkPass)
            << "split " << split;
    }
    for (std::size_t split = 1; split < 8; ++split) {
        ProtocolCore core;
        mb::mbusReadData(core, "01");
        core.onReceived(Bytes(kMbusReply.begin(), kMbusReply.begin() + split));
        mb::mbusReadData(core, "01");
        mb::cj188ReadId(core, " - 10H");
        EXPECT_TRUE(core.onReceived(Bytes(kMbusReply.begin() + split, kMbusReply.end())).checkPass)
            << "split " << split;
    }
}

TEST(SendSequence, CountsOnlyWhatThePortTookAndResets) {
    ProtocolCore core;
    const Transmission t = mb::cj188ReadData(core, kFields);
    EXPECT_EQ(t.paneText, "FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16 ");
    EXPECT_EQ(t.bytes, HexBytes("FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16"));
    // Building a request sends nothing yet, so nothing is counted.
    EXPECT_EQ(core.txCount(), 0);
    core.countSent(static_cast<std::int64_t>(t.bytes.size()));
    EXPECT_EQ(core.txCount(), 19);
    core.countSent(static_cast<std::int64_t>(mb::cj188ReadId(core, " - 10H").bytes.size()));
    EXPECT_EQ(core.txCount(), 38);
    core.countSent(static_cast<std::int64_t>(mb::mbusReadData(core, "").bytes.size()));
    EXPECT_EQ(core.txCount(), 43);
    core.countSent(static_cast<std::int64_t>(mb::mbusModifyId(core, "").bytes.size()));
    EXPECT_EQ(core.txCount(), 55);
    core.resetTxCount();
    EXPECT_EQ(core.txCount(), 0);
    core.onReceived(HexBytes("01 02"));
    core.resetRxCount();
    core.onReceived(HexBytes("03"));
    EXPECT_EQ(core.rxCount(), 1);
}

TEST(SendSequence, RequestsWriteTheSharedTxBuffer) {
    ProtocolCore core;
    mb::cj188ReadData(core, kFields);
    mb::mbusReadData(core, "01");
    // Only indices 0..4 were rewritten; the CJ188 frame's tail is still there.
    EXPECT_EQ(core.txBuffer()[4], 0x16);
    EXPECT_EQ(core.txBuffer()[17], 0x7B);
    EXPECT_EQ(core.transmitFrame(18).bytes.size(), 19u);
}

}  // namespace
}  // namespace mb
