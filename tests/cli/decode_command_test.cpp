// meterbench-cli decode over the real frames: exit status by the frame's
// checksum, JSON that parses back with the header a meter's frame carries.
#include <gtest/gtest.h>

#include <filesystem>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/cli/CliRun.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace mb::cli::test {
namespace {

TEST(DecodeCommand, RealFramesExitByTheirChecksumAndGiveOneJsonObject) {
    const auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    if (!set.found) MB_REAL_FRAMES_MISSING(set.problem);
    int decoded = 0;
    for (const auto& frame : set.frames) {
        if (!frame.checksumKnown) continue;
        const std::string path = mb::test::RealFramesDir() + "/" + frame.file;
        const CliResult r = runCli({"decode", "--json", path});
        SCOPED_TRACE(frame.file + ": " + r.err);
        QJsonParseError error{};
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
        const bool mbus = frame.protocol == mb::test::FrameProtocol::Mbus;
        EXPECT_EQ(json["protocol"].toString(), mbus ? "mbus" : "cj188");
        if (frame.checksumOk) {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(json["check"].toString(), "pass");
            EXPECT_TRUE(json["records"].isArray());
            ++decoded;
        } else {
            EXPECT_NE(r.status, 0);
            EXPECT_NE(json["check"].toString(), "pass");
        }
    }
    EXPECT_GT(decoded, 50);
}

TEST(DecodeCommand, KnownFrameFromArgumentAndStdinAsTheWindowShowsIt) {
    // Read Address reply of water meter 00000805000001, with wake-up bytes.
    const std::string frame = "FE FE 68 10 01 00 00 05 08 00 00 83 03 0A 81 00 97 16";
    const CliResult text = runCli({"decode", frame});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "Check Pass\xEF\xBC\x81");
    EXPECT_NE(text.out.find("Address  00000805000001\n"), std::string::npos) << text.out;

    const CliResult json = runCli({"decode", "--json", "-"}, frame + "\n");
    const QJsonObject header =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object()["header"].toObject();
    EXPECT_EQ(header["meter_type"].toString(), "10");
    EXPECT_EQ(header["address"].toString(), "00000805000001");
    EXPECT_EQ(header["di"].toString(), "810A");
}

TEST(DecodeCommand, ExitStatusSeparatesFailedChecksFromNoFrame) {
    struct Case {
        std::vector<std::string> args;
        int status;
        bool stderrSays;
    };
    const Case cases[] = {
        {{"decode", "68 03 03 68 53 FE 51 00 16"}, 1, false},  // checksum off
        {{"decode", "10 5B 01 5C 17"}, 1, false},              // stop byte off
        {{"decode", "12 34"}, 2, true},                        // no frame
        {{"decode", "not-a-file"}, 2, true},
        {{"decode"}, 2, true},
        {{"decode", "--colour", "E5"}, 2, true},
        {{"frobnicate"}, 2, true},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(!r.err.empty(), c.stderrSays) << c.args.back() << ": " << r.err;
    }
}

// Stray bytes before a frame that passes are skipped and counted: on standard
// error for text, as "skipped_bytes" in JSON; input with no passing frame is
// still no frame.
TEST(DecodeCommand, StrayBytesBeforeAFrameAreSkippedAndCounted) {
    const std::string setAddress = "68 03 03 68 53 FE 51 A2 16";
    const std::string readAddressReply = "68 10 01 00 00 05 08 00 00 83 03 0A 81 00 97 16";
    const struct {
        std::string input;
        int status;
        const char* said;  // standard error, "" for nothing
    } cases[] = {
        {"FF " + setAddress, 0, "meterbench-cli: skipped 1 stray byte (FF) before the frame\n"},
        {"00 00 00 00 " + readAddressReply, 0, "meterbench-cli: skipped 4 stray bytes (00 00 00 00) before the frame\n"},
        {"FF FE FE " + readAddressReply, 0, "meterbench-cli: skipped 1 stray byte (FF) before the frame\n"},
        {"FE FE " + readAddressReply, 0, ""},
        {"12 34", 2, "meterbench-cli: not a frame: not an M-Bus or CJ/T 188 frame\n"},
        // Two acknowledgements are two frames, not noise before one.
        {"E5 E5", 2, "meterbench-cli: not a frame: single character E5 followed by 1 more byte\n"},
        {"10 5B 01 5C 16 " + setAddress, 2, "meterbench-cli: not a frame: short frame must be 5 bytes, got 14\n"},
    };
    for (const auto& c : cases) {
        const CliResult text = runCli({"decode", c.input});
        EXPECT_EQ(text.status, c.status) << c.input;
        EXPECT_EQ(text.err, c.said) << c.input;
        if (c.status == 0) {
            EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "Check Pass\xEF\xBC\x81") << c.input;
        }
    }
    const CliResult json = runCli({"decode", "--json", "00 00 00 00 " + readAddressReply});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.err, "");
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    EXPECT_EQ(object["skipped_bytes"].toInt(), 4) << json.out;
    EXPECT_EQ(object["check"].toString(), "pass");
    const CliResult clean = runCli({"decode", "--json", readAddressReply});
    EXPECT_FALSE(QJsonDocument::fromJson(QByteArray::fromStdString(clean.out)).object().contains("skipped_bytes"));
}

TEST(DecodeCommand, ADirectoryIsNamedAsOne) {
    const std::string dir = std::filesystem::temp_directory_path().string();
    const CliResult r = runCli({"decode", dir});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(dir + " is a directory"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST(DecodeCommand, HelpAndVersion) {
    for (const char* command : {"decode", "read", "set-address", "scan", "monitor"}) {
        const CliResult r = runCli({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("usage: meterbench-cli ") + command, 0), 0u) << r.out;
    }
    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("meterbench-cli ", 0), 0u);
    EXPECT_GT(version.out.size(), std::string("meterbench-cli \n").size());
}

}  // namespace
}  // namespace mb::cli::test
