#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "record/RecordRetention.h"
#include "tests/record/RecordFileReader.h"

namespace mb {
namespace {

namespace fs = std::filesystem;

TEST(SessionFileOrder, OnlyOurNamesHaveAnOrder) {
    const std::pair<const char*, bool> names[] = {
        {"2026-12-08T01-19-00.123456Z.jsonl", true},
        {"2026-12-08T01-19-00.123456Z_1.jsonl", true},
        {"2026-12-08T01-19-00.123456Z_12.jsonl", true},
        {"2026-12-08T01:19:00.123456Z.jsonl", false},
        {"2026-12-08T01-19-00.123456.jsonl", false},
        {"2026-12-08T01-19-00.12345Z.jsonl", false},
        {"2026-12-08T01-19-00.123456Z.jsonl.bak", false},
        {"2026-12-08T01-19-00.123456Z.json", false},
        {"2026-12-08T01-19-00.123456Z_.jsonl", false},
        {"2026-12-08T01-19-00.123456Z_x.jsonl", false},
        {"2026-12-08T01-19-00.123456Z copy.jsonl", false},
        {"x2026-12-08T01-19-00.123456Z.jsonl", false},
        {"notes.jsonl", false},
        {".jsonl", false},
    };
    for (const auto& [name, ours] : names) EXPECT_EQ(sessionFileOrder(name).has_value(), ours) << name;
}

TEST(SessionFileOrder, SameMicrosecondSortsByItsCounterAsANumber) {
    const auto plain = *sessionFileOrder("2026-12-08T01-19-00.123456Z.jsonl");
    const auto second = *sessionFileOrder("2026-12-08T01-19-00.123456Z_2.jsonl");
    const auto tenth = *sessionFileOrder("2026-12-08T01-19-00.123456Z_10.jsonl");
    const auto later = *sessionFileOrder("2026-12-08T01-19-00.123457Z.jsonl");
    EXPECT_LT(plain, second);
    EXPECT_LT(second, tenth);
    EXPECT_LT(tenth, later);
}

class RetentionTest : public ::testing::Test {
protected:
    fs::path make(const std::string& name, std::size_t bytes) {
        const fs::path path = dir_.path() / name;
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        return path;
    }
    std::string session(int minute, const char* suffix = "") {
        char name[64];
        std::snprintf(name, sizeof name, "2026-12-08T01-%02d-00.000000Z%s.jsonl", minute, suffix);
        return name;
    }
    std::set<std::string> names() const {
        std::set<std::string> result;
        for (const auto& entry : fs::directory_iterator(dir_.path())) result.insert(entry.path().filename().string());
        return result;
    }
    test::TempDir dir_;
};

TEST_F(RetentionTest, ByCountTheOldestGoAndTheCurrentOneCounts) {
    for (int minute = 1; minute <= 5; ++minute) make(session(minute), 10);
    make(session(5, "_1"), 10);
    const fs::path current = make(session(6), 0);

    const auto removed = applyRetention(dir_.path(), current, {.maxFiles = 3, .maxBytes = 1 << 20});

    EXPECT_EQ(removed.size(), 4u);
    EXPECT_EQ(names(), (std::set<std::string>{session(5), session(5, "_1"), session(6)}));
}

TEST_F(RetentionTest, BySizeTheOldestGoUntilTheTotalFits) {
    make(session(1), 100);
    make(session(2), 100);
    make(session(3), 100);
    make(session(4), 100);
    const fs::path current = make(session(9), 30);

    applyRetention(dir_.path(), current, {.maxFiles = 100, .maxBytes = 250});

    // 230 bytes left; keeping the file of minute 2 as well would make 330.
    EXPECT_EQ(names(), (std::set<std::string>{session(3), session(4), session(9)}));
}

TEST_F(RetentionTest, WithinLimitsNothingIsRemoved) {
    make(session(1), 100);
    const fs::path current = make(session(2), 0);
    EXPECT_TRUE(applyRetention(dir_.path(), current, {.maxFiles = 2, .maxBytes = 100}).empty());
    EXPECT_EQ(names().size(), 2u);
}

TEST_F(RetentionTest, NeverTheCurrentOneNorFilesThatAreNotOurs) {
    // The clock went back: the current session sorts oldest.
    const fs::path current = make(session(0), 500);
    make(session(1), 10);
    make(session(2), 10);
    make("notes.jsonl", 10);
    make(session(0) + ".bak", 10);
    make("2026-12-08T00-00-00.000000Z.txt", 10);
    fs::create_directory(dir_.path() / session(3));
    fs::create_symlink(dir_.path() / session(1), dir_.path() / session(4));

    applyRetention(dir_.path(), current, {.maxFiles = 1, .maxBytes = 1});

    EXPECT_EQ(names(), (std::set<std::string>{session(0), "notes.jsonl", session(0) + ".bak",
                                              "2026-12-08T00-00-00.000000Z.txt", session(3), session(4)}));
}

// Retention never enters a folder through a link, and never removes another
// user's file, whatever its name.
TEST_F(RetentionTest, ALinkedFolderAndAnotherUsersFilesAreLeftAlone) {
    const fs::path real = dir_.path() / "real";
    fs::create_directory(real);
    for (int minute = 1; minute <= 3; ++minute) std::ofstream(real / session(minute)) << "{}\n";
    fs::create_directory_symlink(real, dir_.path() / "link");
    EXPECT_TRUE(applyRetention(dir_.path() / "link", dir_.path() / "link" / session(9), {.maxFiles = 1}).empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(real), fs::directory_iterator()), 3);

    if (::geteuid() != 0) return;  // only root can hand a file to another user
    const fs::path foreign = make(session(1), 10);
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    make(session(2), 10);
    const fs::path current = make(session(3), 10);
    applyRetention(dir_.path(), current, {.maxFiles = 1, .maxBytes = 1 << 20});
    EXPECT_TRUE(fs::exists(foreign));
    EXPECT_FALSE(fs::exists(dir_.path() / session(2)));
}

TEST_F(RetentionTest, AMissingFolderRemovesNothingAndDoesNotThrow) {
    EXPECT_TRUE(applyRetention(dir_.path() / "absent", dir_.path() / "absent" / session(1), {}).empty());
}

}  // namespace
}  // namespace mb
