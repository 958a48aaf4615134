// A wrong plan is refused with every problem named by file, line and key,
// before anything is sent; a right one comes back with its defaults filled in.
#include <gtest/gtest.h>

#include <string>

#include "plan/PlanParser.h"

namespace mb::plan {
namespace {

// One line and one M-Bus meter, right as they are; each case appends or
// replaces lines to make exactly one mistake.
const std::string kLine = "[[line]]\nname = \"bench-1\"\nport = \"/dev/ttyUSB0\"\n";  // lines 1-3

std::vector<std::string> errorsOf(const std::string& text) {
    const auto parsed = parsePlan(text, "plan.toml");
    if (const auto* e = std::get_if<PlanErrors>(&parsed)) return e->lines;
    return {};
}

TEST(PlanErrors, NameFileLineAndKey) {
    struct Case {
        std::string plan;
        std::string error;  // the start of the one error expected
    };
    const Case cases[] = {
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbuss\"\naddress = 1\n",
         "plan.toml:6: meter 1: unknown protocol 'mbuss'"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nadress = 2\n",
         "plan.toml:8: meter 1: unknown key 'adress'"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nmeter_type = \"10\"\n",
         "plan.toml:8: meter 1: 'meter_type' is CJ/T 188 only"},
        {kLine + "[[meter]]\nline = \"bench-9\"\nprotocol = \"mbus\"\naddress = 1\n",
         "plan.toml:5: meter 1: no line named 'bench-9'"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"cj188\"\naddress = \"7833000000000\"\n",
         "plan.toml:7: meter 1: a CJ/T 188 address is 14 digits"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 251\n",
         "plan.toml:7: meter 1: an M-Bus primary address is 0-250"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nsteps = [\"read\", \"set-address:300\"]\n",
         "plan.toml:8: meter 1: step 'set-address:300': an M-Bus address is 0-250"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nsteps = [\"valve-cycle\"]\n",
         "plan.toml:8: meter 1: step 'valve-cycle' needs a CJ/T 188 meter"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nsteps = [\"raed\"]\n",
         "plan.toml:8: meter 1: unknown step 'raed'"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nexpect = { manufactuer = \"SIM\" }\n",
         "plan.toml:8: meter 1: expect: unknown key 'manufactuer'"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\n"
                 "range = [ { quantity = \"Energy\", min = 5, max = 1 } ]\n",
         "plan.toml:8: meter 1: range of Energy: min is above max"},
        {"repeat = 0\n" + kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\n",
         "plan.toml:1: 'repeat' must be a whole number 1-10000, not 0"},
        {kLine + "[[line]]\nname = \"bench-2\"\nport = \"/dev/ttyUSB0\"\n"
                 "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\n",
         "plan.toml:6: line 2: port /dev/ttyUSB0 is already the port of line 'bench-1'"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\n[[meter]]\nline = \"bench-1\"\n"
                 "protocol = \"mbus\"\naddress = \"1\"\n",
         "plan.toml:11: meter 2: address 1 is already meter 1's"},
        {kLine + "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\nrepeat = \"3\n",
         "plan.toml:8:"},  // TOML itself: an unterminated string
    };
    for (const Case& c : cases) {
        const auto errors = errorsOf(c.plan);
        EXPECT_EQ(errors.size(), 1u) << c.error << "\n" << c.plan << (errors.empty() ? "" : errors[0]);
        if (errors.empty()) continue;
        EXPECT_EQ(errors[0].substr(0, c.error.size()), c.error) << errors[0];
    }
}

// Every mistake at once, so one edit fixes them all.
TEST(PlanErrors, AllAreListed) {
    const auto errors = errorsOf(kLine + "bogus = 1\n[[meter]]\nline = \"x\"\nprotocol = \"mbus\"\naddress = 1\n");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("unknown key 'bogus'"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("no line named 'x'"), std::string::npos) << errors[1];
}

// The plan's settings reach each meter unless the meter says otherwise.
TEST(PlanDefaults, MetersTakeThePlansUnlessTheirOwn) {
    const auto parsed = parsePlan("repeat = 3\nmax_reply_ms = 500\nsteps = [\"read\", \"set-time\"]\n" + kLine +
                                      "parity = \"n\"\n"
                                      "[[meter]]\nline = \"bench-1\"\nprotocol = \"mbus\"\naddress = 1\n"
                                      "[[meter]]\nline = \"bench-1\"\nprotocol = \"cj188\"\naddress = \"78330000000001\"\n"
                                      "meter_type = \"20H\"\nrepeat = 1\nmax_reply_ms = 80\nsteps = [\"valve-cycle\"]\n",
                                  "plan.toml");
    ASSERT_TRUE(std::holds_alternative<Plan>(parsed));
    const Plan& plan = std::get<Plan>(parsed);
    ASSERT_EQ(plan.lines.size(), 1u);
    EXPECT_EQ(plan.lines[0].parity, 'N');
    EXPECT_EQ(plan.lines[0].baud, 2400);
    const auto& meters = plan.lines[0].meters;
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0].repeat, 3);
    EXPECT_EQ(meters[0].maxReplyMs, 500);
    ASSERT_EQ(meters[0].steps.size(), 2u);
    EXPECT_EQ(meters[0].steps[1].kind, StepKind::SetTime);
    EXPECT_EQ(meters[1].meterType, 0x20);
    EXPECT_EQ(meters[1].repeat, 1);
    EXPECT_EQ(meters[1].maxReplyMs, 80);
    ASSERT_EQ(meters[1].steps.size(), 1u);
    EXPECT_EQ(meters[1].steps[0].kind, StepKind::ValveCycle);
}

}  // namespace
}  // namespace mb::plan
