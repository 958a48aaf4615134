// Frames captured from real meters, played back as the meter's answer through
// a pty: after the matching Read Data (CJ/T 188 frames on the CJ188 page,
// M-Bus frames on the EN1434 page) every frame with a correct checksum shows
// "Check Pass！", and none with a wrong one does.
#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace e2e {
namespace {

using mb::test::FrameProtocol;
using mb::test::RealFrame;

const mb::test::RealFrameSet& Frames() {
    static const mb::test::RealFrameSet set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    return set;
}

#define REQUIRE_REAL_FRAMES() \
    if (!Frames().found) MB_REAL_FRAMES_MISSING(Frames().problem)

struct Playback {
    const char* readData;
    std::size_t requestSize;
};

Playback playbackFor(FrameProtocol protocol) {
    return protocol == FrameProtocol::Cjt188 ? Playback{"Bevelo1", 19} : Playback{"Bevelo17", 5};
}

// Clicks Read Data, waits for the request on the line, answers with `frame`,
// and waits until the window has echoed all of it.
void answerOneReadData(Window& w, FarEnd& line, const RealFrame& frame) {
    const Playback p = playbackFor(frame.protocol);
    if (frame.protocol == FrameProtocol::Cjt188)
        w.showCj188Page();
    else
        w.showEn1434Page();
    line.clear();
    w.click(p.readData);
    ASSERT_TRUE(waitFor([&] { return line.pump().size() >= p.requestSize; })) << frame.file;
    line.send(frame.bytes);
    const QString echo = paneEcho(frame.bytes);
    ASSERT_TRUE(waitFor([&] { return w.received().size() >= echo.size(); })) << frame.file;
    EXPECT_EQ(w.received(), echo) << frame.file;
}

void playGoodFrames(FrameProtocol protocol) {
    REQUIRE_REAL_FRAMES();
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    ASSERT_TRUE(w.connect());
    int played = 0;
    for (const RealFrame& frame : Frames().frames) {
        if (frame.protocol != protocol || !frame.checksumOk) continue;
        answerOneReadData(w, line, frame);
        EXPECT_TRUE(waitFor([&] { return w.checkPass(); }, 1000)) << frame.file;
        EXPECT_EQ(w.form().core().replyShape(), nullptr) << frame.file;
        ++played;
    }
    EXPECT_GT(played, 0) << "the index lists no good frame of this protocol";
    EXPECT_TRUE(w.prompts().empty());
}

TEST(RealFramesThroughThePort, GoodCj188FramesPassAfterCj188ReadData) {
    playGoodFrames(FrameProtocol::Cjt188);
}

TEST(RealFramesThroughThePort, GoodMbusFramesPassAfterEn1434ReadData) {
    playGoodFrames(FrameProtocol::Mbus);
}

// Each bad frame in a window of its own: an unfinished candidate of one
// must not decide the fate of the next.
TEST(RealFramesThroughThePort, FramesWithAWrongChecksumNeverPass) {
    REQUIRE_REAL_FRAMES();
    FarEnd line;
    ASSERT_TRUE(line.ok());
    int played = 0;
    for (const RealFrame& frame : Frames().frames) {
        if (frame.checksumOk) continue;
        Window w(line.path());
        ASSERT_TRUE(w.connect());
        answerOneReadData(w, line, frame);
        processEventsFor(20);
        EXPECT_EQ(w.analysis(), QString()) << frame.file;
        ++played;
    }
    EXPECT_GT(played, 0) << "the index lists no frame with a wrong checksum";
}

}  // namespace
}  // namespace e2e
