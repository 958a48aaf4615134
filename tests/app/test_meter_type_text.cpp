// The meter type byte comes from characters 4 and 5 of the Meter Type text,
// counted as characters even when a hand-typed text holds non-ASCII ones.
#include <gtest/gtest.h>

#include "tests/app/FormHarness.h"

namespace {

// The bytes of the CJ188 "Transmitted Data" pane after a click, as hex groups.
QStringList sentGroups(FormHarness& h, const char* button) {
    h.click(button);
    return h.c().RichTextBox1->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

TEST(MeterTypeText, CharactersFourAndFiveGiveTheTypeWhateverComesBefore) {
    FormHarness h{QString()};  // no port: the requests still show their frames
    const struct {
        const char* text;  // UTF-8
        const char* type;
    } cases[] = {
        {" - 21H", "21"},
        {" \u2013 19H", "19"},            // an en dash typed in place of the hyphen
        {"\u2014\u2014\u201413H", "13"},  // three characters of three UTF-8 bytes each
        {"\u7C7B\u578B 12H", "12"},       // two CJK characters and a blank
    };
    for (const auto& k : cases) {
        h.c().Combo7->setEditText(QString::fromUtf8(k.text));
        for (const char* button : {"Bevelo1", "Bevelo3"}) {
            const QStringList groups = sentGroups(h, button);
            ASSERT_EQ(groups.size(), 19) << button;
            EXPECT_EQ(groups[4], QString::fromLatin1(k.type)) << k.text << " " << button;
            // The checksum still covers the byte that was placed.
            int sum = 0;
            for (int i = 3; i <= 16; ++i) sum += groups[i].toInt(nullptr, 16);
            EXPECT_EQ(groups[17].toInt(nullptr, 16), sum % 256) << k.text << " " << button;
        }
    }
    EXPECT_EQ(h.prompts->shown.size(), 8u) << "each request on the closed port prompts";
}
