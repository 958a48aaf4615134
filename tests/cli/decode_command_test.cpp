// meterbench-cli decode over the real frames: exit status by the frame's
// checksum, JSON that parses back with the header a meter's frame carries;
// decode --batch: one result a frame line, failures named by their line.
#include <gtest/gtest.h>

#include <filesystem>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <string>
#include <vector>

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

// The meter's error answer to a write (C4: D6 set) is a good frame but no
// data pass: its status shows, "Check Pass！" never, in each output form.
TEST(DecodeCommand, MetersErrorAnswerIsNeverACheckPass) {
    // C4, L 03, SER 01, ST1 01 (valve closed), ST2 00; the sum comes to 00.
    const std::string frame = "68 10 78 56 34 12 00 33 78 C4 03 01 01 00 00 16";
    const std::string checkPass = "Check Pass\xEF\xBC\x81";
    const CliResult text = runCli({"decode", frame});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "The meter answered with an error");
    EXPECT_NE(text.out.find("Valve  closed"), std::string::npos) << text.out;
    const CliResult batch = runCli({"decode", "--batch", "-"}, frame + "\n");
    EXPECT_NE(batch.out.find("The meter answered with an error"), std::string::npos) << batch.out;
    for (const CliResult* r : {&text, &batch})
        EXPECT_EQ(r->out.find(checkPass), std::string::npos) << r->out;
    const CliResult json = runCli({"decode", "--json", frame});
    EXPECT_EQ(
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object()["check"].toString(),
        "meter-error");
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

namespace mb::cli::test {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(DecodeBatch, MixedLinesGiveOneResultEachAndNameFailuresByLine) {
    const std::string input =
        "# captured on site\n"                                        // 1
        "\n"                                                          // 2
        "E5\n"                                                        // 3 passes
        "68 03 03 68 53 FE 51 00 16\n"                                // 4 checksum off
        "  # indented comment\n"                                      // 5
        "zz\n"                                                        // 6 not hex
        "12 34\r\n"                                                   // 7 no frame
        "FE FE 68 10 01 00 00 05 08 00 00 83 03 0A 81 00 97 16\n"     // 8 passes
        "FF 68 03 03 68 53 FE 51 A2 16";                              // 9 passes after a stray byte
    const CliResult json = runCli({"decode", "--batch", "--json", "-"}, input);
    EXPECT_EQ(json.status, 2);
    const char* objects[] = {
        R"({"line":3,"protocol":"mbus","check":"pass")",
        R"({"line":4,"protocol":"mbus","check":"fail","reason":"checksum 00 != computed A2")",
        R"({"line":6,"protocol":"","check":"error","error":"not hex text")",
        R"({"line":7,"protocol":"","check":"error","error":"not an M-Bus or CJ/T 188 frame")",
        R"({"line":8,"protocol":"cj188","check":"pass")",
        R"({"line":9,"skipped_bytes":1,"protocol":"mbus","check":"pass")",
    };
    const std::vector<std::string> out = linesOf(json.out);
    ASSERT_EQ(out.size(), std::size(objects)) << json.out;
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i].rfind(objects[i], 0), 0u) << out[i];
    EXPECT_EQ(json.err,
              "meterbench-cli: line 4: check failed: checksum 00 != computed A2\n"
              "meterbench-cli: line 6: not hex text\n"
              "meterbench-cli: line 7: not a frame: not an M-Bus or CJ/T 188 frame\n"
              "meterbench-cli: line 9: skipped 1 stray byte (FF) before the frame\n");

    const CliResult text = runCli({"decode", "--batch", "-"}, input);
    EXPECT_EQ(text.err, json.err);
    const std::vector<std::string> lines = linesOf(text.out);
    ASSERT_GE(lines.size(), 6u) << text.out;
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
              (std::vector<std::string>{"# line 3", "Check Pass\xEF\xBC\x81", "Frame  Acknowledge (E5)", "# line 4",
                                        "Check failed: checksum 00 != computed A2", "# line 6"}));
    EXPECT_EQ(lines.back(), "Application  Data send");
}

TEST(DecodeBatch, ExitStatusIsTheWorstLineAndOneFrameStillSpansLines) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::size_t results;
    } cases[] = {
        {{"decode", "--batch", "--json", "-"}, "E5\n10 5B 01 5C 16\n", 0, 2},
        {{"decode", "--batch", "--json", "-"}, "E5\n10 5B 01 5C 17\n", 1, 2},     // stop byte off
        {{"decode", "--batch", "--json", "-"}, "10 5B 01 5C 17\nE5 E5\nE5\n", 2, 3},  // E5 E5: no frame
        {{"decode", "--batch", "--json", "-"}, "# nothing to do\n\n", 0, 0},
        {{"decode", "--batch", "--json", "no-such-file"}, "", 2, 0},
        {{"decode", "--json", "-"}, "68 03 03 68\n53 FE 51 A2 16\n", 0, 1},  // without --batch: one frame
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.input << r.err;
        EXPECT_EQ(linesOf(r.out).size(), c.results) << c.input << r.out;
    }
}

TEST(DecodeBatch, ResultsLongerThanOneWriteStayWholeAndInOrder) {
    std::string input;
    for (int i = 0; i < 3000; ++i) input += i % 3 == 2 ? "10 5B 01 5C 16\n" : "E5\n";
    const CliResult r = runCli({"decode", "--batch", "--json", "-"}, input);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> out = linesOf(r.out);
    ASSERT_EQ(out.size(), 3000u);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(out[i])).object();
        ASSERT_EQ(json["line"].toInt(), static_cast<int>(i + 1)) << out[i];
        ASSERT_EQ(json["header"].toObject()["frame"].toString(), i % 3 == 2 ? "REQ_UD2" : "Acknowledge (E5)");
    }
}

TEST(DecodeBatch, EveryRealFrameInOneRunAsTheIndexSays) {
    const auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    if (!set.found) MB_REAL_FRAMES_MISSING(set.problem);
    const std::string path = ::testing::TempDir() + "/real-frames-batch.txt";
    {
        std::ofstream file(path);
        for (const auto& frame : set.frames) {
            for (std::uint8_t b : frame.bytes) file << "0123456789ABCDEF"[b >> 4] << "0123456789ABCDEF"[b & 15] << ' ';
            file << '\n';
        }
    }
    const CliResult r = runCli({"decode", "--batch", "--json", path});
    const std::vector<std::string> out = linesOf(r.out);
    ASSERT_EQ(out.size(), set.frames.size()) << r.err;
    bool allGood = true;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto& frame = set.frames[i];
        SCOPED_TRACE(frame.file);
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(out[i])).object();
        EXPECT_EQ(json["line"].toInt(), static_cast<int>(i + 1));
        EXPECT_EQ(json["check"].toString() == "pass", frame.checksumOk);
        const bool named = r.err.find("line " + std::to_string(i + 1) + ":") != std::string::npos;
        EXPECT_EQ(named, !frame.checksumOk) << r.err;
        allGood = allGood && frame.checksumOk;
        // Kamstrup MULTICAL 601: 37351 kWh on the meter's display.
        if (frame.file == "mbus/kamstrup_multical_601.hex") {
            EXPECT_NE(out[i].find(R"({"quantity":"Energy","function":"instantaneous","storage":0,)"
                                  R"("tariff":0,"subunit":0,"unit":"Wh","value":37351000})"),
                      std::string::npos);
        }
    }
    EXPECT_EQ(r.status == 0, allGood);
}

}  // namespace
}  // namespace mb::cli::test
