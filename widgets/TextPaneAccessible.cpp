#include "widgets/TextPaneAccessible.h"

#include <QFontMetrics>
#include <QScrollBar>

#include "widgets/TextPane.h"

namespace {

QAccessibleInterface* textPaneFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TextPane") && object && object->isWidgetType())
        return new TextPaneAccessible(static_cast<TextPane*>(object));
    return nullptr;
}

}  // namespace

TextPaneAccessible::TextPaneAccessible(TextPane* pane)
    : QAccessibleWidget(pane, QAccessible::EditableText) {}

void TextPaneAccessible::registerFactory() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(textPaneFactory);
    }
}

TextPane* TextPaneAccessible::pane() const {
    return static_cast<TextPane*>(widget());
}

void* TextPaneAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextPaneAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    return s;
}

QString TextPaneAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return pane()->text();
    return QAccessibleWidget::text(t);
}

void TextPaneAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const bool selected = selectionIndex == 0 && pane()->hasSelection();
    *startOffset = selected ? static_cast<int>(pane()->selectionStart()) : 0;
    *endOffset = selected ? static_cast<int>(pane()->selectionEnd()) : 0;
}

int TextPaneAccessible::selectionCount() const {
    return pane()->hasSelection() ? 1 : 0;
}

void TextPaneAccessible::addSelection(int startOffset, int endOffset) {
    pane()->select(startOffset, endOffset);
}

void TextPaneAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) pane()->select(0, 0);
}

void TextPaneAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) pane()->select(startOffset, endOffset);
}

int TextPaneAccessible::cursorPosition() const {
    return characterCount();
}

QString TextPaneAccessible::text(int startOffset, int endOffset) const {
    return pane()->textRange(startOffset, endOffset);
}

int TextPaneAccessible::characterCount() const {
    return static_cast<int>(pane()->length());
}

QRect TextPaneAccessible::characterRect(int offset) const {
    TextPane* p = pane();
    if (offset < 0 || offset >= p->length()) return {};
    const int row = p->rowAtPosition(offset);
    const int visibleRow = row - p->firstVisibleRow();
    const int lh = p->lineHeight();
    if (visibleRow < 0 || visibleRow * lh > p->viewport()->height()) return {};  // off screen
    const QFontMetrics fm(p->font());
    const QString text = p->rowText(row);
    const qsizetype column = offset - p->rowStartPosition(row);
    const QRect local(3 + fm.horizontalAdvance(text.left(column)), 3 + visibleRow * lh,
                      fm.horizontalAdvance(text.mid(column, 1)), lh);
    return QRect(p->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int TextPaneAccessible::offsetAtPoint(const QPoint& point) const {
    TextPane* p = pane();
    const QPoint local = p->viewport()->mapFromGlobal(point);
    if (local.y() < 0 || local.x() < 0) return -1;
    const int row = p->firstVisibleRow() + (local.y() - 3) / p->lineHeight();
    if (row >= p->rowCount()) return -1;
    const QFontMetrics fm(p->font());
    const QString text = p->rowText(row);
    for (int i = 0; i < text.size(); ++i)
        if (3 + fm.horizontalAdvance(text.left(i + 1)) > local.x())
            return static_cast<int>(p->rowStartPosition(row) + i);
    return -1;
}

void TextPaneAccessible::scrollToSubstring(int startIndex, int) {
    pane()->verticalScrollBar()->setValue(pane()->rowAtPosition(startIndex));
}

QString TextPaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
}
