// Plans written in any language: names beyond ASCII read back as written in
// every kind of string, and such a character where TOML allows none, or text
// that is not UTF-8, is refused with its line.
#include <gtest/gtest.h>

#include <string>

#include "plan/PlanParser.h"

namespace mb::plan {
namespace {

const std::string kRest =
    "[[line]]\nname = \"bench-1\"\nport = \"/dev/ttyUSB0\"\n"
    "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\n";

TEST(PlanText, CharactersBeyondAsciiKeepTheirMeaning) {
    struct Case {
        std::string nameLine;
        std::string name;
    };
    const Case cases[] = {
        {"name = \"Zähler 東京 \\u00e9\"  # Prüfung", "Zähler 東京 é"},
        {"name = 'C:\\Wärme \"Süd\"'", "C:\\Wärme \"Süd\""},
        {"name = '''\nFirst ''Zeile''\\n\nÄnde'''''", "First ''Zeile''\\n\nÄnde''"},
        {"name = \"\"\"\\\n   §ab\\\n  ъ\"\"\"", "§abъ"},
        {"\xEF\xBB\xBFname = \"😀\"", "😀"},
    };
    for (const Case& c : cases) {
        const auto parsed = parsePlan(c.nameLine + "\n" + kRest, "plan.toml");
        const auto* errors = std::get_if<PlanErrors>(&parsed);
        ASSERT_EQ(errors, nullptr) << c.nameLine << ": " << errors->lines.front();
        EXPECT_EQ(std::get<Plan>(parsed).name, c.name) << c.nameLine;
    }
}

TEST(PlanText, CharactersTomlDoesNotAllowAreRefusedWithTheirLine) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"name = Zähler\n", "plan.toml:1: 'ä' outside quotes"},
        {"name = '''\n\n'''\nrepeat = 3 ъ\n", "plan.toml:4: 'ъ' outside quotes"},
        {"Yъ", "plan.toml:1: 'ъ' outside quotes"},
        {"# ok\nname = \"a\xFF\"\n", "plan.toml:2: the text is not UTF-8 (byte FF)"},
        {"name = \"\xED\xA0\x80\"\n", "plan.toml:1: the text is not UTF-8 (byte ED)"},  // a surrogate
        {"name = \"\\é\"\n", "plan.toml:1: \\ before 'é' is no escape"},
        {"name = \"Zähler\nrepeat = 2\n", "plan.toml:1:"},  // the reader's own: unterminated
    };
    for (const Case& c : cases) {
        const auto parsed = parsePlan(c.text + kRest, "plan.toml");
        const auto* errors = std::get_if<PlanErrors>(&parsed);
        ASSERT_NE(errors, nullptr) << c.text;
        EXPECT_EQ(errors->lines.front().rfind(c.error, 0), 0u) << c.text << ": " << errors->lines.front();
    }
}

}  // namespace
}  // namespace mb::plan
