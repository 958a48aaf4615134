#include "widgets/LayoutControls.h"

#include <QAccessible>
#include <QFrame>
#include <algorithm>

#include "widgets/Fonts.h"
#include "widgets/LayoutFrame.h"
#include "widgets/Twips.h"

namespace layout {

namespace {

const QColor kLightGrey = layoutColor(0xE0E0E0);

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

}  // namespace

QColor lightGrey() {
    return kLightGrey;
}

// Name, caption and description as assistive technology reads them.
void identify(QWidget* w, const QString& name, const QString& accessibleName) {
    w->setObjectName(name);
    w->setAccessibleName(accessibleName.isEmpty() ? name : accessibleName);
    w->setAccessibleDescription(name);
}

void place(QWidget* w, Rect r) {
    placeTwips(w, r.left, r.top, r.width, r.height);
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, Rect r) {
    auto* frame = new LayoutFrame(caption, parent);
    identify(frame, name, caption);
    frame->setFont(fonts::frame());
    place(frame, r);
    return frame;
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
    setUpPane(pane, name, label, r);
    return pane;
}

void setUpPane(TextPane* pane, const QString& name, const QString& label, Rect r) {
    identify(pane, name, label);
    pane->setFont(fonts::window());
    place(pane, r);
}

Indicator* makeIndicator(QWidget* parent, const QString& name, const QString& label, Rect r,
                         QColor color) {
    auto* lamp = new Indicator(parent, color);
    identify(lamp, name, label);
    place(lamp, r);
    return lamp;
}

QWidget* makePagePanel(QWidget* parent, const QString& name, Rect r) {
    auto* page = new QFrame(parent);
    identify(page, name, name);
    page->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    page->setFont(fonts::window());
    place(page, r);
    return page;
}

}  // namespace layout
