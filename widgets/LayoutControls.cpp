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

constexpr qreal kSmallestLabelPointSize = 6.0;

// Every word within the width and every wrapped line within the height.
bool textFits(const QLabel* label) {
    const QFontMetrics metrics(label->font());
    const int room = label->contentsRect().width() - 2 * label->margin();
    for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (metrics.horizontalAdvance(word) > room) return false;
    return label->heightForWidth(label->width()) <= label->height();
}

// Where the nearest control on the label's rows, to its right, begins.
int rightLimit(const QLabel* label) {
    const QRect g = label->geometry();
    int limit = g.left() + g.width();
    for (const QWidget* other :
         label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == label || qobject_cast<const QLabel*>(other)) continue;
        const QRect o = other->geometry();
        if (o.top() <= g.bottom() && o.bottom() >= g.top() && o.left() > g.left())
            limit = std::min(limit, o.left());
    }
    return limit;
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

void fitLabels(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        // The box keeps its designed place and size; its text ends where the
        // control beside it begins (some designed boxes overlap it by a pixel).
        const int overlap = label->geometry().right() + 1 - rightLimit(label);
        if (overlap > 0) label->setContentsMargins(0, 0, overlap + 1, 0);
        QFont font = label->font();
        while (!textFits(label) && font.pointSizeF() > kSmallestLabelPointSize) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            label->setFont(font);
        }
    }
}

QComboBox* makeCombo(QWidget* parent, const QString& name, const QString& label, Rect r,
                     const QFont& font, const QStringList& items, const QString& text) {
    auto* combo = new QComboBox(parent);
    setUpCombo(combo, name, label, r, font, items, text);
    return combo;
}

void setUpCombo(QComboBox* combo, const QString& name, const QString& label, Rect r,
                const QFont& font, const QStringList& items, const QString& text) {
    identify(combo, name, label);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFont(font);
    combo->addItems(items);
    combo->setEditText(text);
    place(combo, r);
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
