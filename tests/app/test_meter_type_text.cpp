// The meter type byte comes from characters 4 and 5 of the Meter Type text,
// counted as characters even when a hand-typed text holds non-ASCII ones.
#include <gtest/gtest.h>

#include "tests/app/FormHarness.h"
#include "tests/support/qt/PtyPair.h"

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

// The type is a hex byte: A-F count as digits, " - " and H may be left out;
// anything else is refused with a prompt, and nothing is sent or counted.
TEST(MeterTypeText, HexLettersAreTheTypeAnythingElseIsRefusedUnsent) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    FormHarness h(QStringLiteral("COM1=%1").arg(pty.device()));
    h.click("OpenCOomPort");
    ASSERT_TRUE(h.form->portConnected());
    // Typed without " - " or H, the byte is still sent as typed (it used to go out as 00).
    for (const auto& [text, type] : {std::pair{" - 1AH", '\x1A'}, {" - fbH", '\xFB'}, {"1AH", '\x1A'},
                                     {"1A", '\x1A'}, {"10H", '\x10'}, {"20", '\x20'}}) {
        h.c().Combo7->setEditText(QString::fromLatin1(text));
        h.click("Bevelo1");
        const QByteArray sent = pty.receive(19);
        ASSERT_EQ(sent.size(), 19) << text;
        EXPECT_EQ(sent[4], type) << text;
    }
    const QString pane = h.c().RichTextBox1->text();
    const QString tx = h.caption("Bevelo5");
    for (const char* text : {" - 1GH", " - x1H", " - 1 H"}) {
        h.c().Combo7->setEditText(QString::fromLatin1(text));
        for (const char* button : {"Bevelo1", "Bevelo3"}) {
            h.prompts->shown.clear();
            h.click(button);
            EXPECT_TRUE(pty.receive(1, 100).isEmpty()) << text << " " << button;
            ASSERT_EQ(h.prompts->shown.size(), 1u) << text << " " << button;
            EXPECT_EQ(h.prompts->shown[0].title, QStringLiteral("Meter Type"));
            EXPECT_EQ(h.prompts->shown[0].text,
                      QStringLiteral("Meter Type must be a hex byte such as 10H"));
        }
    }
    EXPECT_EQ(h.caption("Bevelo5"), tx) << "nothing counted";
    EXPECT_EQ(h.c().RichTextBox1->text(), pane) << "the last frame sent stays shown";
}
