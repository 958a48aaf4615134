// Builds the non-button controls of the main window at their layout positions
// (twips), with their captions, start texts, fonts, colours and maximum lengths.
#include <QAccessible>
#include <QFrame>
#include <algorithm>

#include "app/Fonts.h"
#include "app/LayoutFrame.h"
#include "app/Logo.h"
#include "app/Twips.h"
#include "app/WindowControls.h"

namespace {

const QColor kLightGrey = layoutColor(0xE0E0E0);

struct Rect {
    int l, t, w, h;
};

// Name, caption and description as assistive technology reads them.
void identify(QWidget* w, const QString& name, const QString& accessibleName) {
    w->setObjectName(name);
    w->setAccessibleName(accessibleName.isEmpty() ? name : accessibleName);
    w->setAccessibleDescription(name);
}

void place(QWidget* w, Rect r) {
    placeTwips(w, r.l, r.t, r.w, r.h);
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, Rect r,
                     WindowControls& c) {
    auto* frame = new LayoutFrame(caption, parent);
    identify(frame, name, caption);
    frame->setFont(fonts::frame());
    place(frame, r);
    c.containers.insert(name, frame);
    return frame;
}

// The label widths were chosen for narrower fonts than the ones installed here.
// A label that would cut a word, or wrap into more lines than its height holds,
// grows to the right to its text's width; its place and height stay.
void growToFitText(QLabel* label) {
    const QFontMetrics metrics(label->font());
    int widestWord = 0;
    for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widestWord = std::max(widestWord, metrics.horizontalAdvance(word));
    const int frame =
        label->contentsMargins().left() + label->contentsMargins().right() + 2 * label->margin();
    const bool cut = widestWord + frame > label->width() ||
                     label->heightForWidth(label->width()) > label->height();
    if (!cut) return;
    const int lineWidth = metrics.horizontalAdvance(label->text()) + frame;
    label->resize(std::max(label->width(), lineWidth), label->height());
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, Rect r,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    identify(label, name, text);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, r);
    growToFitText(label);
    return label;
}

void paintGreyBoxes(QWidget* w) {
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, kLightGrey);
        pal.setColor(group, QPalette::Button, kLightGrey);
    }
    w->setPalette(pal);
}

QComboBox* makeCombo(QWidget* parent, const QString& name, const QString& label, Rect r,
                     const QFont& font, const QStringList& items, const QString& text) {
    auto* combo = new QComboBox(parent);
    identify(combo, name, label);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFont(font);
    combo->addItems(items);
    combo->setEditText(text);
    place(combo, r);
    return combo;
}

QLineEdit* makeField(QWidget* parent, const QString& name, const QString& label, Rect r,
                     int maxLength, const QString& text) {
    auto* field = new QLineEdit(parent);
    identify(field, name, label);
    field->setFont(fonts::textField());
    field->setMaxLength(maxLength);
    field->setText(text);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, Qt::white);
    field->setPalette(pal);
    place(field, r);
    return field;
}

TextPane* makePane(QWidget* parent, const QString& name, const QString& label, Rect r) {
    auto* pane = new TextPane(parent);
    identify(pane, name, label);
    pane->setFont(fonts::window());
    place(pane, r);
    return pane;
}

Indicator* makeIndicator(QWidget* parent, const QString& name, const QString& label, Rect r,
                         QColor color) {
    auto* lamp = new Indicator(parent, color);
    identify(lamp, name, label);
    place(lamp, r);
    return lamp;
}

QWidget* makePage(QWidget* parent, const QString& name, Rect r, WindowControls& c) {
    auto* page = new QFrame(parent);
    identify(page, name, name);
    page->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    page->setFont(fonts::window());
    place(page, r);
    c.containers.insert(name, page);
    return page;
}

void buildLeftColumn(QWidget* form, WindowControls& c) {
    c.Frame3 = makeFrame(form, QStringLiteral("Frame3"), {}, {120, 120, 2655, 1695}, c);
    c.Image1 = new QLabel(c.Frame3);
    identify(c.Image1, QStringLiteral("Image1"), QStringLiteral("MeterBench logo"));
    place(c.Image1, {120, 240, 2415, 1335});
    c.Image1->setPixmap(drawLogo(c.Image1->size(), form->devicePixelRatioF()));

    QGroupBox* s = c.setpage = makeFrame(form, QStringLiteral("setpage"),
                                         QStringLiteral("串口配置"), {120, 2040, 2655, 4575}, c);
    const QFont lf = fonts::settingsLabel();
    const QFont cf = fonts::settingsCombo();
    makeLabel(s, QStringLiteral("Label"), QStringLiteral("Port"), {240, 360, 975, 255}, lf);
    c.Combo1 = makeCombo(s, QStringLiteral("Combo1"), QStringLiteral("Port"),
                         {1080, 240, 1335, 345}, cf, {}, {});
    makeLabel(s, QStringLiteral("Label18"), QStringLiteral("Baud"), {240, 840, 975, 255}, lf);
    c.Combo2 = makeCombo(
        s, QStringLiteral("Combo2"), QStringLiteral("Baud"), {1080, 720, 1335, 345}, cf,
        {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"},
        QStringLiteral("2400"));
    makeLabel(s, QStringLiteral("Label19"), QStringLiteral("Parity"), {240, 1320, 855, 255}, lf);
    // The parity list is filled by the start-up sequence.
    c.Combo3 = makeCombo(s, QStringLiteral("Combo3"), QStringLiteral("Parity"),
                         {1080, 1200, 1335, 345}, cf, {}, QStringLiteral("EVEN"));
    makeLabel(s, QStringLiteral("Label21"), QStringLiteral("Data"), {240, 1800, 735, 255}, lf);
    c.Combo4 = makeCombo(s, QStringLiteral("Combo4"), QStringLiteral("Data"),
                         {1080, 1680, 1335, 345}, cf, {"6", "7", "8"}, QStringLiteral("8"));
    makeLabel(s, QStringLiteral("Label20"), QStringLiteral("Stop"), {240, 2280, 975, 255}, lf);
    c.Combo5 = makeCombo(s, QStringLiteral("Combo5"), QStringLiteral("Stop"),
                         {1080, 2160, 1335, 345}, cf, {"1", "1.5", "2"}, QStringLiteral("1"));
    for (QComboBox* combo : {c.Combo1, c.Combo2, c.Combo3, c.Combo4, c.Combo5})
        paintGreyBoxes(combo);
    makeLabel(s, QStringLiteral("Label22"), QStringLiteral("State"), {240, 2745, 375, 240}, lf);
    c.Shape1 = makeIndicator(s, QStringLiteral("Shape1"), QStringLiteral("State"),
                             {720, 2740, 195, 195}, Qt::black);
    makeLabel(s, QStringLiteral("Label23"), QStringLiteral("TX"), {240, 3600, 495, 255}, lf);
    c.Shape2 = makeIndicator(s, QStringLiteral("Shape2"), QStringLiteral("TX"),
                             {720, 3600, 195, 195}, layoutColor(0x004000));
    makeLabel(s, QStringLiteral("Label24"), QStringLiteral("RX"), {240, 4080, 495, 255}, lf);
    c.Shape3 = makeIndicator(s, QStringLiteral("Shape3"), QStringLiteral("RX"),
                             {720, 4080, 195, 195}, layoutColor(0x000080));

    c.Frame5 = makeFrame(form, QStringLiteral("Frame5"), {}, {120, 6720, 2655, 975}, c);
    c.Frame4 = makeFrame(form, QStringLiteral("Frame4"), {}, {120, 7800, 2655, 1215}, c);
}

void buildCj188Page(WindowControls& c) {
    QWidget* p = c.CJ188 =
        makePage(c.mainpage, QStringLiteral("CJ188"), {120, 600, 10455, 3015}, c);
    const QFont lf = fonts::window();
    makeLabel(p, QStringLiteral("Label1"), QStringLiteral("DEVICE ID"), {240, 360, 975, 495}, lf);
    c.Text1 = makeField(p, QStringLiteral("Text1"), QStringLiteral("DEVICE ID"),
                        {1440, 240, 2175, 375}, 10, {});
    makeLabel(p, QStringLiteral("Label2"), QStringLiteral("Vendor Code"), {240, 960, 1215, 495},
              lf);
    c.Text3 = makeField(p, QStringLiteral("Text3"), QStringLiteral("Vendor Code"),
                        {1440, 840, 975, 375}, 2, QStringLiteral("33"));
    c.Text2 = makeField(p, QStringLiteral("Text2"), QStringLiteral("Vendor Code, second pair"),
                        {2640, 840, 975, 375}, 2, QStringLiteral("78"));
    makeLabel(p, QStringLiteral("Label3"), QStringLiteral("Meter Type"), {240, 1560, 1215, 495},
              lf);
    c.Combo7 = makeCombo(p, QStringLiteral("Combo7"), QStringLiteral("Meter Type"),
                         {1440, 1440, 2175, 360}, fonts::meterTypeCombo(),
                         {" - 10H", " - 11H", " - 12H", " - 13H", " - 19H", " - 20H", " - 21H"},
                         QStringLiteral(" - 10H"));

    c.Frame6 = makeFrame(p, QStringLiteral("Frame6"), QStringLiteral("Continuous Reading"),
                         {6840, 240, 3255, 1575}, c);
    c.Text4 = makeField(c.Frame6, QStringLiteral("Text4"), QStringLiteral("Sec"),
                        {1560, 720, 855, 375}, 3, QStringLiteral("1"));
    makeLabel(c.Frame6, QStringLiteral("Label5"), QStringLiteral("Sec"), {2640, 840, 495, 495}, lf);

    c.Frame1 = makeFrame(p, QStringLiteral("Frame1"), QStringLiteral("Transmitted Data"),
                         {120, 2160, 10215, 735}, c);
    c.RichTextBox1 = makePane(c.Frame1, QStringLiteral("RichTextBox1"),
                              QStringLiteral("Transmitted Data"), {120, 240, 9975, 375});
}

void buildEn1434Page(WindowControls& c) {
    QWidget* p = c.EN1434 =
        makePage(c.mainpage, QStringLiteral("EN1434"), {120, 600, 10455, 3015}, c);
    const QFont lf = fonts::window();
    makeLabel(p, QStringLiteral("Label8"), QStringLiteral("DEVICE ID"), {240, 600, 975, 495}, lf);
    c.Text6 = makeField(p, QStringLiteral("Text6"), QStringLiteral("DEVICE ID"),
                        {1320, 480, 2175, 375}, 2, {});
    makeLabel(p, QStringLiteral("Label6"), QStringLiteral("NEW ID"), {240, 1440, 1095, 495}, lf);
    c.Text7 = makeField(p, QStringLiteral("Text7"), QStringLiteral("NEW ID"),
                        {1320, 1320, 2175, 375}, 2, {});

    c.Frame7 = makeFrame(p, QStringLiteral("Frame7"), QStringLiteral("Continuous Reading"),
                         {6840, 240, 3255, 1575}, c);
    c.Text5 = makeField(c.Frame7, QStringLiteral("Text5"), QStringLiteral("Sec"),
                        {1560, 720, 855, 375}, 3, QStringLiteral("1"));
    makeLabel(c.Frame7, QStringLiteral("Label4"), QStringLiteral("Sec"), {2640, 840, 495, 495}, lf);

    c.Frame8 = makeFrame(p, QStringLiteral("Frame8"), QStringLiteral("Transmitted Data"),
                         {120, 2160, 10215, 735}, c);
    c.RichTextBox4 = makePane(c.Frame8, QStringLiteral("RichTextBox4"),
                              QStringLiteral("Transmitted Data"), {120, 240, 9975, 375});
}

void buildMainPage(QWidget* form, WindowControls& c) {
    c.mainpage = makeFrame(form, QStringLiteral("mainpage"), {}, {2880, 120, 10695, 8895}, c);
    buildCj188Page(c);
    buildEn1434Page(c);
    c.Frame9 = makeFrame(c.mainpage, QStringLiteral("Frame9"), QStringLiteral("Received Data"),
                         {120, 3720, 10455, 2895}, c);
    c.RichTextBox2 = makePane(c.Frame9, QStringLiteral("RichTextBox2"),
                              QStringLiteral("Received Data"), {120, 240, 10215, 2535});
    c.Frame2 = makeFrame(c.mainpage, QStringLiteral("Frame2"), QStringLiteral("Data Analysis"),
                         {120, 6720, 10455, 2055}, c);
    c.RichTextBox3 = makePane(c.Frame2, QStringLiteral("RichTextBox3"),
                              QStringLiteral("Data Analysis"), {120, 240, 10215, 1695});
}

}  // namespace

void buildWindowControls(QWidget* form, WindowControls& c) {
    installFontSubstitutions();
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, kLightGrey);
    form->setPalette(pal);
    form->setAutoFillBackground(true);
    form->setFont(fonts::window());
    c.containers.insert(form->objectName(), form);
    buildLeftColumn(form, c);
    buildMainPage(form, c);
}
