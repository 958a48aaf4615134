// meterbench-cli test against several virtual meters at once, each line with
// its own fault: the verdicts, the JUnit XML as CI tools read it, the CSV, the
// exit status; a wrong plan sends nothing; Ctrl-C leaves reports marked incomplete.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <csignal>
#include <fstream>
#include <map>
#include <thread>

#include "tests/cli/CliRun.h"
#include "tests/sim/sim_process.h"

namespace mb::cli::test {
namespace {

using mb::sim::test::SimProcess;

std::string slurp(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// RFC 4180 rows: quoted fields may hold commas and quotes; rows end with CRLF.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') quoted = true;
        else if (c == ',') rows.back().push_back(std::exchange(field, {}));
        else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(std::exchange(field, {}));
            rows.emplace_back();
            ++i;
        } else field += c;
    }
    rows.pop_back();  // after the last CRLF
    return rows;
}

struct Case {
    std::string suite, name, outcome, type, message;  // outcome: passed, failure, error, skipped
};
struct Junit {
    std::map<std::string, std::string> totals;                   // attributes of <testsuites>
    std::map<std::string, std::map<std::string, std::string>> suites;  // name -> attributes
    std::map<std::string, std::map<std::string, std::string>> properties;  // suite -> name -> value
    std::vector<Case> cases;
};

Junit readJunit(const std::string& xml) {
    Junit out;
    QXmlStreamReader r(QByteArray::fromStdString(xml));
    std::string suite;
    const auto attrs = [&r] {
        std::map<std::string, std::string> a;
        for (const auto& at : r.attributes()) a[at.name().toString().toStdString()] = at.value().toString().toStdString();
        return a;
    };
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement) continue;
        const auto name = r.name().toString().toStdString();
        auto a = attrs();
        if (name == "testsuites") out.totals = a;
        else if (name == "testsuite") out.suites[suite = a["name"]] = a;
        else if (name == "property") out.properties[suite][a["name"]] = a["value"];
        else if (name == "testcase") out.cases.push_back({suite, a["name"], "passed", "", ""});
        else if (name == "failure" || name == "error" || name == "skipped") {
            out.cases.back().outcome = name;
            out.cases.back().type = a["type"];
            out.cases.back().message = a["message"];
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

std::string meterBlock(const std::string& line, const std::string& rest) {
    return "[[meter]]\nline = \"" + line + "\"\n" + rest + "\n";
}

// Four virtual meter lines, one of them over TCP, and one port that is not there.
TEST(TestCommand, VerdictsReportsAndExitStatus) {
    SimProcess good({"--mbus-meters", "2"});
    SimProcess silent({"--fault", "silent"});
    SimProcess late({"--tcp", "0", "--fault", "late", "--delay-ms", "600"});  // behind a gateway
    SimProcess garbled({"--fault", "bad-checksum"});
    for (auto* s : {&good, &silent, &late, &garbled}) ASSERT_TRUE(s->started());
    QTemporaryDir dir;
    const QString plan = dir.filePath("plan.toml");
    std::ofstream(plan.toStdString())
        << "name = \"batch 7\"\nrepeat = 2\nmax_reply_ms = 300\ntimeout_ms = 1200\nretries = 0\n"
        << "[[line]]\nname = \"good\"\nport = \"" << good.path() << "\"\n"
        << "[[line]]\nname = \"silent\"\nport = \"" << silent.path() << "\"\n"
        << "[[line]]\nname = \"late\"\nport = \"" << late.path() << "\"\n"
        << "[[line]]\nname = \"garbled\"\nport = \"" << garbled.path() << "\"\n"
        << "[[line]]\nname = \"gone\"\nport = \"/dev/meterbench-no-such-port\"\n"
        << meterBlock("good", "protocol = \"mbus\"\naddress = 1\nexpect = { id = \"12345678\", manufacturer = \"SIM\" }\n"
                              "range = [ { quantity = \"Energy\", min = 1e6, max = 1e7 } ]")
        << meterBlock("good", "name = \"wrong one\"\nprotocol = \"mbus\"\naddress = 2\nexpect = { id = \"12345678\" }")
        << meterBlock("good", "protocol = \"cj188\"\naddress = \"78330000000000\"\nsteps = [\"read\", \"valve-cycle\"]\n"
                              "range = [ { quantity = \"Current cumulative flow\", max = 100 } ]\n"
                              "continue_after_failure = true")
        << meterBlock("silent", "protocol = \"mbus\"\naddress = 1\nsteps = [\"read\", \"set-time\"]")
        << meterBlock("late", "protocol = \"mbus\"\naddress = 1\nrepeat = 1")
        << meterBlock("garbled", "protocol = \"mbus\"\naddress = 1")
        << meterBlock("gone", "protocol = \"mbus\"\naddress = 1");
    const QString junit = dir.filePath("out.xml"), csv = dir.filePath("out.csv"), html = dir.filePath("out.html");
    const CliResult r = runCli({"test", plan.toStdString(), "--junit", junit.toStdString(), "--csv",
                                csv.toStdString(), "--html", html.toStdString(), "--json"});
    EXPECT_EQ(r.status, 1) << r.err;

    const Junit j = readJunit(slurp(junit));
    EXPECT_EQ(j.totals.at("tests"), "9");
    EXPECT_EQ(j.totals.at("failures"), "5");
    EXPECT_EQ(j.totals.at("errors"), "1");
    EXPECT_EQ(j.totals.at("skipped"), "1");
    EXPECT_EQ(j.suites.size(), 5u);
    EXPECT_EQ(j.suites.at("good").at("tests"), "4");
    EXPECT_EQ(j.suites.at("good").at("failures"), "2");
    EXPECT_EQ(j.suites.at("silent").at("skipped"), "1");
    EXPECT_EQ(j.suites.at("gone").at("errors"), "1");
    EXPECT_EQ(late.path().rfind("tcp://127.0.0.1:", 0), 0u) << late.path();
    EXPECT_EQ(j.properties.at("late").count("network_round_trip_ms"), 1u) << "a gateway's round trip is said";
    EXPECT_EQ(j.properties.at("good").count("network_round_trip_ms"), 0u);
    // suite, case, outcome, type, words of the message
    const Case expected[] = {
        {"good", "meter 1 read", "passed", "", ""},
        {"good", "wrong one read", "failure", "wrong-id", "id '12345679', expected '12345678'"},
        {"good", "meter 3 read", "failure", "out-of-range", "Current cumulative flow 12345.68 m^3 above the maximum 100"},
        {"good", "meter 3 valve-cycle", "passed", "", ""},
        {"silent", "meter 4 read", "failure", "no-reply", "no reply"},
        {"silent", "meter 4 set-time", "skipped", "", "step read of this meter failed"},
        {"late", "meter 5 read", "failure", "too-slow", "max_reply_ms is 300"},
        {"garbled", "meter 6 read", "failure", "invalid", "no valid reply"},
        {"gone", "meter 7 read", "error", "port", "cannot open the port: /dev/meterbench-no-such-port: no such device"},
    };
    ASSERT_EQ(j.cases.size(), std::size(expected));
    for (std::size_t i = 0; i < j.cases.size(); ++i) {
        const Case& got = j.cases[i];
        const Case& want = expected[i];
        EXPECT_EQ(got.suite + "/" + got.name, want.suite + "/" + want.name);
        EXPECT_EQ(got.outcome, want.outcome) << got.name << ": " << got.message;
        EXPECT_EQ(got.type, want.type) << got.name;
        EXPECT_NE(got.message.find(want.message), std::string::npos) << got.name << ": " << got.message;
    }

    // The CSV: one row per meter and step, the same results.
    const auto rows = csvRows(slurp(csv));
    ASSERT_EQ(rows.size(), 10u);
    const auto& header = rows[0];
    const auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), header.size()) << i;
        EXPECT_EQ(rows[i][column("run")], "complete");
    }
    EXPECT_EQ(rows[1][column("result")], "passed");
    EXPECT_EQ(rows[1][column("id")], "12345678");
    EXPECT_EQ(rows[1][column("reply_ms")].find(' ') != std::string::npos, true) << "two reads, two times";
    EXPECT_EQ(rows[2][column("kind")], "wrong-id");
    EXPECT_EQ(rows[2][column("reason")].find(','), rows[2][column("reason")].find(", expected"));  // quoted comma kept
    EXPECT_EQ(rows[6][column("result")], "skipped");

    // --json: the same verdicts, with the reading.
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(json["run"].toString(), "complete");
    EXPECT_EQ(json["counts"].toObject()["failed"].toInt(), 5);
    const QJsonObject first = json["lines"].toArray()[0].toObject()["results"].toArray()[0].toObject();
    EXPECT_EQ(first["reading"].toObject()["header"].toObject()["id"].toString(), "12345678");
    EXPECT_EQ(first["reply_ms"].toArray().size(), 2);
    const QJsonObject overTcp = json["lines"].toArray()[2].toObject();
    EXPECT_EQ(overTcp["port"].toString().toStdString(), late.path());
    EXPECT_TRUE(overTcp["round_trip_ms"].isDouble());

    const std::string page = slurp(html);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos);  // nothing fetched from elsewhere
    EXPECT_LT(page.find("wrong identification"), page.find("<td>meter 1</td>")) << "failures first";
}

// A wrong plan: exit 2, the error names file, line and key, and the meter hears nothing.
TEST(TestCommand, WrongPlanSendsNothing) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString plan = dir.filePath("plan.toml");
    std::ofstream(plan.toStdString()) << "[[line]]\nname = \"a\"\nport = \"" << sim.path() << "\"\n"
                                      << meterBlock("a", "protocol = \"mbus\"\naddress = 1")
                                      << meterBlock("a", "protocol = \"mbuss\"\naddress = 2");
    const CliResult r = runCli({"test", plan.toStdString()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(plan.toStdString() + ":10: meter 2: unknown protocol 'mbuss'"), std::string::npos) << r.err;
    sim.readLine(300);  // the line the meter starts with
    EXPECT_EQ(sim.readLine(300), "") << "the meter was asked something";
}

// Ctrl-C mid-run: the exchange in flight ends, the reports are written and say incomplete.
TEST(TestCommand, InterruptedRunWritesIncompleteReports) {
    SimProcess sim({"--line-rate", "2400"});
    ASSERT_TRUE(sim.started());
    QTemporaryDir dir;
    const QString plan = dir.filePath("plan.toml"), junit = dir.filePath("j.xml"), csv = dir.filePath("c.csv");
    std::ofstream(plan.toStdString()) << "[[line]]\nname = \"a\"\nport = \"" << sim.path() << "\"\n"
                                      << meterBlock("a", "protocol = \"mbus\"\naddress = 1\nrepeat = 1000")
                                      << meterBlock("a", "protocol = \"cj188\"\naddress = \"78330000000000\"");
    CliChild run({"test", plan.toStdString(), "--junit", junit.toStdString(), "--csv", csv.toStdString()});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // a few reads in
    const CliResult r = run.stop(SIGINT);
    EXPECT_EQ(r.status, 130) << r.err;
    const Junit j = readJunit(slurp(junit));
    EXPECT_EQ(j.properties.at("a").count("incomplete"), 1u);
    ASSERT_EQ(j.cases.size(), 2u);
    EXPECT_EQ(j.cases[0].outcome, "skipped");
    EXPECT_NE(j.cases[0].message.find("interrupted after"), std::string::npos) << j.cases[0].message;
    EXPECT_NE(j.cases[1].message.find("not run"), std::string::npos) << j.cases[1].message;
    const auto rows = csvRows(slurp(csv));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].back(), "incomplete");
    EXPECT_NE(rows[1][9], "0") << "the reads before the stop are counted";
}

}  // namespace
}  // namespace mb::cli::test
