// The window as it opens: layout, names, fonts, start state, page switching,
// EXIT, Help and the product-information button.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <iterator>

#include "tests/app/FormHarness.h"
#include "tests/support/qt/WaitFor.h"
#include "widgets/Twips.h"
#include "widgets/BeveloLayout.h"

TEST(MainFormStart, OpensClosedOnTheCj188PageEvenWithoutAnyPort) {
    FormHarness h{QString()};  // an empty map: no port at all
    MainForm& f = *h.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral(" MeterBench"));
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(f.size(), QSize(912, 606));
    EXPECT_EQ(h.c().Combo1->count(), 0);
    EXPECT_EQ(h.c().Combo1->currentText(), QString());
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Connect"));
    EXPECT_EQ(h.c().Shape1->color(), QColor(Qt::black));
    EXPECT_EQ(h.caption("Bevelo5"), QStringLiteral("0"));
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("0"));
    EXPECT_FALSE(f.portConnected());
    EXPECT_FALSE(f.port().isOpen());
    EXPECT_TRUE(h.combosEnabled());
    EXPECT_TRUE(h.c().CJ188->isVisible());
    EXPECT_FALSE(h.c().EN1434->isVisible());
    EXPECT_TRUE(h.prompts->shown.empty());

    // Settings lists and start texts.
    EXPECT_EQ(h.c().Combo2->currentText(), QStringLiteral("2400"));
    EXPECT_EQ(h.c().Combo2->count(), 10);
    QStringList parities;
    for (int i = 0; i < h.c().Combo3->count(); ++i) parities << h.c().Combo3->itemText(i);
    EXPECT_EQ(parities, (QStringList{"NONE", "ODD", "EVEN", "MARK", "SPACE"}));
    EXPECT_EQ(h.c().Combo3->currentText(), QStringLiteral("EVEN"));
    EXPECT_EQ(h.c().Combo4->currentText(), QStringLiteral("8"));
    EXPECT_EQ(h.c().Combo5->currentText(), QStringLiteral("1"));
    EXPECT_EQ(h.c().Combo7->currentText(), QStringLiteral(" - 10H"));
    EXPECT_EQ(h.c().Combo7->count(), 7);

    // Fields: start texts and maximum lengths.
    const struct {
        QLineEdit* field;
        const char* text;
        int maxLength;
    } fields[] = {{h.c().Text1, "", 10}, {h.c().Text3, "33", 2}, {h.c().Text2, "78", 2},
                  {h.c().Text4, "1", 3}, {h.c().Text5, "1", 3},  {h.c().Text6, "", 2},
                  {h.c().Text7, "", 2}};
    for (const auto& x : fields) {
        EXPECT_EQ(x.field->text(), QString::fromLatin1(x.text))
            << x.field->objectName().toStdString();
        EXPECT_EQ(x.field->maxLength(), x.maxLength) << x.field->objectName().toStdString();
    }
    // Timers: disabled, 1000 ms.
    EXPECT_FALSE(f.page(0).timer().isEnabled());
    EXPECT_FALSE(f.page(1).timer().isEnabled());
    EXPECT_EQ(f.page(0).timer().interval(), 1000);
    EXPECT_EQ(f.page(1).timer().interval(), 1000);

    // Connect with an empty port list ends in the prompt.
    h.click("OpenCOomPort");
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_EQ(h.prompts->shown[0].text, QStringLiteral("PortCannot Open！"));
    EXPECT_EQ(h.caption("OpenCOomPort"), QStringLiteral("Connect"));
    EXPECT_EQ(h.c().Shape1->color(), QColor(Qt::black));
}

// Places in pixels, worked by hand from the layout's twips (15 to a pixel,
// halves rounded up), which the comments give.
TEST(MainFormStart, EveryControlSitsAtItsLayoutPlaceUnderItsLayoutName) {
    FormHarness h{QString()};
    const struct {
        const char* name;
        const char* parent;
        QRect pixels;
    } places[] = {
        {"Frame3", "MainForm", {8, 8, 177, 113}},            // 120, 120, 2655, 1695
        {"Image1", "Frame3", {8, 16, 161, 89}},              // 120, 240, 2415, 1335
        {"setpage", "MainForm", {8, 136, 177, 305}},         // 120, 2040, 2655, 4575
        {"Frame5", "MainForm", {8, 448, 177, 65}},           // 120, 6720, 2655, 975
        {"Frame4", "MainForm", {8, 520, 177, 81}},           // 120, 7800, 2655, 1215
        {"mainpage", "MainForm", {192, 8, 713, 593}},        // 2880, 120, 10695, 8895
        {"Combo1", "setpage", {72, 16, 89, 23}},             // 1080, 240, 1335, 345
        {"Combo5", "setpage", {72, 144, 89, 23}},            // 1080, 2160, 1335, 345
        {"Shape1", "setpage", {48, 183, 13, 13}},            // 720, 2740, 195, 195
        {"CJ188", "mainpage", {8, 40, 697, 201}},            // 120, 600, 10455, 3015
        {"EN1434", "mainpage", {8, 40, 697, 201}},           // 120, 600, 10455, 3015
        {"Frame9", "mainpage", {8, 248, 697, 193}},          // 120, 3720, 10455, 2895
        {"RichTextBox2", "Frame9", {8, 16, 681, 169}},       // 120, 240, 10215, 2535
        {"RichTextBox3", "Frame2", {8, 16, 681, 113}},       // 120, 240, 10215, 1695
        {"Text1", "CJ188", {96, 16, 145, 25}},               // 1440, 240, 2175, 375
        {"Combo7", "CJ188", {96, 96, 145, 24}},              // 1440, 1440, 2175, 360
        {"Text4", "Frame6", {104, 48, 57, 25}},              // 1560, 720, 855, 375
        {"RichTextBox1", "Frame1", {8, 16, 665, 25}},        // 120, 240, 9975, 375
        {"Text6", "EN1434", {88, 32, 145, 25}},              // 1320, 480, 2175, 375
        {"RichTextBox4", "Frame8", {8, 16, 665, 25}},        // 120, 240, 9975, 375
    };
    for (const auto& p : places) {
        auto* w = h.form->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(p.parent)) << p.name;
        EXPECT_EQ(w->geometry(), p.pixels) << p.name;
        EXPECT_EQ(w->accessibleDescription(), QString::fromLatin1(p.name)) << p.name;
    }
    EXPECT_EQ(twipsRect(1440, 240, 2175, 375), QRect(96, 16, 145, 25));

    // Every button is a Bevelo: 16 of them, named Bevelo1..17 without 10 and 16, plus OpenCOomPort.
    const auto buttons = h.form->findChildren<Bevelo*>();
    EXPECT_EQ(buttons.size(), 16);
    for (Bevelo* b : buttons) {
        EXPECT_EQ(b->accessibleDescription(), b->objectName());
        EXPECT_NE(b->objectName(), QStringLiteral("Bevelo10"));
        EXPECT_NE(b->objectName(), QStringLiteral("Bevelo16"));
    }
    // Every control the accessibility tree names is found by its objectName as description.
    for (QWidget* w : h.form->window()->findChildren<QWidget*>()) {
        if (!w->accessibleName().isEmpty() && !w->objectName().isEmpty()) {
            EXPECT_EQ(w->accessibleDescription().toStdString(), w->objectName().toStdString());
        }
    }
    EXPECT_EQ(h.button("OpenCOomPort")->Style(), 7);
    EXPECT_EQ(h.button("OpenCOomPort")->BackColor(), 0xFFFFFFu);
    EXPECT_EQ(h.button("Bevelo11")->BackColor(), 0x00FF00u);
    EXPECT_TRUE(h.button("Bevelo2")->UseCustomColors());
    EXPECT_EQ(h.button("Bevelo9")->Caption(), QStringLiteral("on-product information"));
    EXPECT_EQ(h.button("Bevelo5")->Style(), 8);
    EXPECT_EQ(h.button("Bevelo8")->Style(), 10);

    // Labels and panes are named by what they show.
    EXPECT_EQ(h.c().RichTextBox2->accessibleName(), QStringLiteral("Received Data"));
    EXPECT_EQ(h.c().Combo1->accessibleName(), QStringLiteral("Port"));
    EXPECT_EQ(h.c().setpage->title(), QStringLiteral("串口配置"));
    EXPECT_EQ(h.c().Shape2->color(), QColor(0x00, 0x40, 0x00));
    EXPECT_EQ(h.c().Shape3->color(), QColor(0x80, 0x00, 0x00));
}

TEST(MainFormStart, WindowsFontsMapToInstalledFontsThatDrawTheChineseCaption) {
    FormHarness h{QString()};
    const QFont frameFont = h.c().setpage->font();
    EXPECT_EQ(frameFont.family(), QStringLiteral("SimSun"));
    EXPECT_DOUBLE_EQ(frameFont.pointSizeF(), 9.0);
    const QFontMetrics fm(frameFont);
    for (QChar ch : QStringLiteral("串口配置"))
        EXPECT_TRUE(fm.inFont(ch)) << "no glyph for U+" << std::hex << int(ch.unicode()) << " in "
                                   << QFontInfo(frameFont).family().toStdString();
    EXPECT_NE(QFontInfo(h.c().Combo2->font()).family(), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(h.c().Text1->font().pointSizeF(), 12.0);
    EXPECT_EQ(h.c().Combo7->font().family(), QStringLiteral("SimHei"));
    EXPECT_DOUBLE_EQ(h.button("Bevelo1")->Font().pointSizeF(), 8.25);
}

// Every label shows its whole text with the installed fonts inside its designed
// box, and its text ends before a control beside it begins: no word is cut, no
// wrapped line falls below the bottom, no text runs into a control.
TEST(MainFormStart, LabelsFitTheirTextInTheirBoxWithoutOverlappingAControl) {
    FormHarness h{QString()};
    const QList<QLabel*> labels = h.form->findChildren<QLabel*>();
    int withText = 0;
    for (QLabel* label : labels) {
        if (label->text().isEmpty()) continue;
        ++withText;
        const std::string name = label->objectName().toStdString();
        const QRect g = label->geometry();
        const QFontMetrics fm(label->font());
        const int room = label->contentsRect().width() - 2 * label->margin();
        for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            EXPECT_LE(fm.horizontalAdvance(word), room) << name << " cuts " << word.toStdString();
        EXPECT_LE(label->heightForWidth(g.width()), g.height()) << name << " loses a line";
        for (QWidget* other :
             label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == label || qobject_cast<QLabel*>(other)) continue;
            const QRect text = label->contentsRect().translated(g.topLeft());
            EXPECT_FALSE(text.intersects(other->geometry()))
                << name << " runs into " << other->objectName().toStdString();
        }
    }
    EXPECT_EQ(withText, 15);
}

TEST(MainFormStart, PageButtonsSwitchPagesAndStopOnlyTheCj188Reading) {
    FormHarness h{QString()};
    MainForm& f = *h.form;
    f.receivedPane().setText(QStringLiteral("68 "));
    f.page(0).timer().setEnabled(true);
    h.click("Bevelo4");
    EXPECT_FALSE(h.c().CJ188->isVisible());
    EXPECT_TRUE(h.c().EN1434->isVisible());
    EXPECT_FALSE(f.page(0).timer().isEnabled()) << "EN1434 page button stops the CJ188 reading";

    f.page(1).timer().setEnabled(true);
    h.click("Bevelo2");
    EXPECT_TRUE(h.c().CJ188->isVisible());
    EXPECT_FALSE(h.c().EN1434->isVisible());
    EXPECT_TRUE(f.page(1).timer().isEnabled()) << "an EN1434 reading goes on";
    EXPECT_FALSE(f.page(0).timer().isEnabled()) << "and the CJ188 one is not restarted";
    EXPECT_EQ(f.receivedPane().text(), QStringLiteral("68 "));
    EXPECT_TRUE(h.prompts->shown.empty());
}

TEST(MainFormStart, HelpDoesNothingExitEndsAndProductInformationOpensTheManual) {
    FormHarness h{QString()};
    MainForm& f = *h.form;
    bool exited = false;
    f.setExitAction([&] { exited = true; });
    QList<QUrl> opened;
    bool browserStarts = true;
    f.setUrlOpener([&](const QUrl& url) {
        opened << url;
        return browserStarts;
    });

    h.click("Bevelo7");
    EXPECT_TRUE(h.c().CJ188->isVisible());
    EXPECT_TRUE(h.prompts->shown.empty());
    EXPECT_FALSE(exited);
    EXPECT_TRUE(opened.isEmpty());

    h.click("Bevelo9");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("README.md")));
    EXPECT_TRUE(h.prompts->shown.empty());

    browserStarts = false;
    h.click("Bevelo9");
    ASSERT_EQ(h.prompts->shown.size(), 1u);
    EXPECT_FALSE(h.prompts->shown[0].critical);
    EXPECT_TRUE(h.prompts->shown[0].text.contains(opened[0].toLocalFile()));

    h.click("Bevelo8");
    EXPECT_TRUE(exited);
}

TEST(MainFormStart, IntervalFieldsSetTheirTimersInSeconds) {
    FormHarness h{QString()};
    MainForm& f = *h.form;
    f.page(0).timer().setEnabled(true);
    h.c().Text4->clear();
    EXPECT_EQ(f.page(0).timer().interval(), 0);
    EXPECT_TRUE(f.page(0).timer().isEnabled()) << "the enabled state is not touched";
    EXPECT_FALSE(f.page(0).timer().isTicking()) << "interval 0 means no ticks";
    QTest::keyClicks(h.c().Text4, QStringLiteral("5"));
    EXPECT_EQ(f.page(0).timer().interval(), 5000);
    EXPECT_TRUE(f.page(0).timer().isTicking());
    h.c().Text4->setText(QStringLiteral("999"));
    EXPECT_EQ(f.page(0).timer().interval(), 999000);
    QTest::keyClicks(h.c().Text4, QStringLiteral("x"));
    EXPECT_EQ(h.c().Text4->text(), QStringLiteral("999"));
    EXPECT_EQ(f.page(0).timer().interval(), 999000);

    h.c().Text5->setText(QStringLiteral("0"));
    EXPECT_EQ(f.page(1).timer().interval(), 0);
    h.c().Text5->setText(QStringLiteral("a7b"));
    EXPECT_EQ(h.c().Text5->text(), QStringLiteral("7"));
    EXPECT_EQ(f.page(1).timer().interval(), 7000);
    EXPECT_FALSE(f.page(1).timer().isEnabled());

    // The other fields filter in place, typed or written.
    h.c().Text1->setText(QStringLiteral("1a2"));
    EXPECT_EQ(h.c().Text1->text(), QStringLiteral("12"));
    QTest::keyClicks(h.c().Text2, QStringLiteral("-"));
    EXPECT_EQ(h.c().Text2->text(), QStringLiteral("78"));
    h.c().Text7->setText(QStringLiteral("fG"));
    EXPECT_EQ(h.c().Text7->text(), QStringLiteral("f"));
}

// Every button at its place with its caption, from the layout's table.
TEST(MainFormStart, EveryButtonSitsAtItsPlaceWithItsCaption) {
    FormHarness h{QString()};
    const struct {
        const char* name;
        const char* parent;
        QRect pixels;
        const char* caption;
    } buttons[] = {
        {"OpenCOomPort", "setpage", {72, 176, 89, 25}, "Connect"},            // 1080, 2640, 1335, 375
        {"Bevelo5", "setpage", {72, 232, 89, 28}, "0"},                       // 1080, 3480, 1335, 420
        {"Bevelo6", "setpage", {72, 264, 89, 28}, "0"},                       // 1080, 3960, 1335, 420
        {"Bevelo9", "Frame5", {8, 16, 161, 41}, "on-product information"},    // 120, 240, 2415, 615
        {"Bevelo7", "Frame4", {8, 16, 65, 57}, "Help"},                       // 120, 240, 975, 855
        {"Bevelo8", "Frame4", {104, 16, 65, 57}, "EXIT"},                     // 1560, 240, 975, 855
        {"Bevelo2", "mainpage", {8, 16, 153, 28}, "CJ188"},                   // 120, 240, 2295, 420
        {"Bevelo4", "mainpage", {160, 16, 153, 28}, "EN1434"},                // 2400, 240, 2295, 420
        {"Bevelo1", "CJ188", {280, 32, 129, 25}, "Read Data"},                // 4200, 480, 1935, 375
        {"Bevelo3", "CJ188", {280, 88, 129, 25}, "Read ID"},                  // 4200, 1320, 1935, 375
        {"Bevelo11", "Frame6", {8, 24, 65, 33}, "Start"},                     // 120, 360, 975, 495
        {"Bevelo12", "Frame6", {8, 64, 65, 33}, "Stop"},                      // 120, 960, 975, 495
        {"Bevelo17", "EN1434", {280, 32, 129, 25}, "Read Data"},              // 4200, 480, 1935, 375
        {"Bevelo15", "EN1434", {280, 88, 129, 25}, "Modification ID"},        // 4200, 1320, 1935, 375
        {"Bevelo13", "Frame7", {8, 24, 65, 33}, "Start"},                     // 120, 360, 975, 495
        {"Bevelo14", "Frame7", {8, 64, 65, 33}, "Stop"},                      // 120, 960, 975, 495
    };
    for (const auto& b : buttons) {
        Bevelo* button = h.form->button(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->parentWidget()->objectName(), QString::fromLatin1(b.parent)) << b.name;
        EXPECT_EQ(button->geometry(), b.pixels) << b.name;
        EXPECT_EQ(button->Caption(), QString::fromUtf8(b.caption)) << b.name;
    }
}

TEST(MainFormStart, EveryFieldFiltersTypedAndPastedText) {
    FormHarness h{QString()};
    const struct {
        QLineEdit* field;
        const char* typed;
        const char* afterTyping;
        const char* pasted;
        const char* afterPasting;
    } cases[] = {
        {h.c().Text1, "1a2-3", "123", "4 5x6", "456"}, {h.c().Text3, "x9", "9", "1a", "1"},
        {h.c().Text2, "+7", "7", ".5", "5"},           {h.c().Text4, "1e2", "12", "9 9", "99"},
        {h.c().Text5, "-3", "3", "0x", "0"},           {h.c().Text6, "gA", "A", "fZ", "f"},
        {h.c().Text7, "b-", "b", "1h", "1"},
    };
    for (const auto& c : cases) {
        const std::string name = c.field->objectName().toStdString();
        c.field->clear();
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), QString::fromLatin1(c.afterTyping)) << name;
        c.field->clear();
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        c.field->paste();
        EXPECT_EQ(c.field->text(), QString::fromLatin1(c.afterPasting)) << name;
    }
    EXPECT_EQ(h.form->page(1).timer().interval(), 0);
    EXPECT_EQ(h.form->page(0).timer().interval(), 99000);
}

TEST(MainFormStart, AssistiveTechnologyFindsButtonsByCaptionAndLayoutName) {
    FormHarness h{QString()};
    QAccessibleInterface* connect = QAccessible::queryAccessibleInterface(h.button("OpenCOomPort"));
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->role(), QAccessible::Button);
    EXPECT_EQ(connect->text(QAccessible::Name), QStringLiteral("Connect"));
    EXPECT_EQ(connect->text(QAccessible::Description), QStringLiteral("OpenCOomPort"));
    QAccessibleInterface* port = QAccessible::queryAccessibleInterface(h.c().Combo1);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->text(QAccessible::Name), QStringLiteral("Port"));
    EXPECT_EQ(port->text(QAccessible::Description), QStringLiteral("Combo1"));
    QAccessibleInterface* received = QAccessible::queryAccessibleInterface(h.c().RichTextBox2);
    ASSERT_NE(received, nullptr);
    ASSERT_NE(received->textInterface(), nullptr);
    h.form->receiveBytes(QByteArray::fromHex("680A"));
    EXPECT_EQ(received->textInterface()->text(0, received->textInterface()->characterCount()),
              QStringLiteral("68 0A "));
}

TEST(MainFormStart, TheRxCounterShowsTheLastCountOfABurst) {
    FormHarness h{QString()};
    h.form->receiveBytes(QByteArray(1, '\x68'));
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("1"))
        << "the first event of a burst shows at once";
    for (int i = 0; i < 99; ++i) h.form->receiveBytes(QByteArray(2, '\x01'));
    EXPECT_EQ(h.form->rxCount(), 199);
    ASSERT_TRUE(waitFor([&] { return h.caption("Bevelo6") == QStringLiteral("199"); }, 1000));
    EXPECT_EQ(h.form->receivedPane().length(), 199 * 3);

    h.form->receiveBytes(QByteArray(3, '\x01'));  // inside the frame of the last caption change
    h.click("Bevelo6");
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("0"));
    QTest::qWait(50);
    EXPECT_EQ(h.caption("Bevelo6"), QStringLiteral("0"))
        << "a reset is not overwritten by a stale count";
}
