// Assistive technology reads a TextPane through Qt's text interface: the whole
// text, any range of it, and where each character sits on screen.
#pragma once

#include <QAccessibleWidget>

class TextPane;

class TextPaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TextPaneAccessible(TextPane* pane);

    // Installs the factory that gives every TextPane this interface (once).
    static void registerFactory();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    // The pane has one selection: adding or setting one replaces it.
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    TextPane* pane() const;
};
