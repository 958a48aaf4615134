// A read-only text pane for long, ever-growing echo text ("68 0A FF ..."):
// it keeps the text as it is and wraps it into rows incrementally, so an
// append costs the same however long the text already is, and it paints only
// the rows on screen. Reading, replacing and appending the whole text behave
// like a plain text box. The user selects with the mouse and has a context
// menu (TextPaneMenu.cpp); a pane may be bounded, dropping its oldest text
// (TextPaneTrim.cpp).
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

class QAction;
class QMenu;

class TextPane : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TextPane(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    void clear() { setText(QString()); }
    // Inserts at the end of the text (the pane's insertion point stays there).
    void appendText(const QString& text);
    // Same for UTF-8 text, without a conversion for plain ASCII.
    void appendUtf8(std::string_view utf8);

    // Length in UTF-16 units, as QString counts it.
    qsizetype length() const { return length_; }
    // The part [start, end) of the text, positions as in length().
    QString textRange(qsizetype start, qsizetype end) const;

    // Number of wrapped rows and the text of one of them (for tests and accessibility).
    int rowCount() const { return static_cast<int>(rowStarts_.size()); }
    QString rowText(int row) const;
    // Text position where a row starts, and the row holding a text position.
    qsizetype rowStartPosition(int row) const;
    int rowAtPosition(qsizetype position) const;
    int lineHeight() const;
    int firstVisibleRow() const;
    // Text position nearest to a point of the viewport.
    qsizetype positionAt(const QPoint& viewportPoint) const;

    // Selection, positions as in length(); anchor and end in either order.
    void select(qsizetype anchor, qsizetype end);
    void selectAll() { select(0, length_); }
    bool hasSelection() const { return selectionStart() < selectionEnd(); }
    qsizetype selectionStart() const { return std::min(anchor_, cursor_); }
    qsizetype selectionEnd() const { return std::max(anchor_, cursor_); }
    QString selectedText() const { return textRange(selectionStart(), selectionEnd()); }
    // Puts the selection on the clipboard.
    void copy() const;

    // Writes the whole text as UTF-8 to `path`; returns why it failed, empty on success.
    QString saveTo(const QString& path) const;
    // The context menu: Copy, Select All, Save As…, Clear (objectNames copyAction,
    // selectAllAction, saveAsAction, clearAction); owners may add their own actions.
    QMenu* contextMenu() const { return menu_; }

    // Bounds the text: when an append makes it longer than `limitBytes` (UTF-8),
    // the oldest text goes, leaving about `keepBytes`, and the first line
    // becomes trimNotice(). Large steps keep trimming rare. 0 = unbounded.
    void setBound(qsizetype limitBytes, qsizetype keepBytes);
    // Bytes of appended text dropped from the start since the last setText().
    qint64 trimmedBytes() const { return trimmed_; }
    qsizetype sizeBytes() const { return utf_8.size(); }

  signals:
    void textChanged();
    void selectionChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // The first line of a trimmed pane, ending without a line break.
    virtual QString trimNotice(qint64 trimmedBytes) const;
    // Adds an action to the context menu and to the pane's own shortcuts.
    QAction* addMenuAction(const QString& text, const char* name, const QKeySequence& keys);

  private:
    void appendBytes(const char* data, qsizetype size);
    void showAppended();
    void wrapFrom(qsizetype offset, qsizetype end = -1);
    void relayoutAll();
    void refreshCharWidths();
    qreal charWidth(char32_t c) const;
    void updateScrollBar(bool followEnd);
    int wrapWidth() const;
    void buildMenu();
    void refreshActions();
    void saveAsFromDialog();
    void trimFront();
    qsizetype positionOfOffset(qsizetype offset) const;
    void paintSelection(QPainter& p, int row, int y, int ascent);

    // A flood of appends repaints at most once per frame, not once per append.
    QTimer repaintTimer_;
    bool followEnd_ = true;  // the view was at the end when the appends began

    QByteArray utf_8;       // the whole text
    qsizetype length_ = 0;  // UTF-16 units
    bool ascii_ = true;     // no byte >= 0x80: byte offsets are text positions

    // Wrapping: start offset (in utf_8) of every row, plus the state of the last row.
    std::vector<qsizetype> rowStarts_{0};
    qreal rowWidth_ = 0;
    qsizetype breakAt_ = -1;  // offset after the last blank of the last row
    qreal widthAtBreak_ = 0;  // width of the last row up to breakAt_
    int layoutWidth_ = 0;
    std::array<qreal, 128> asciiWidth_{};

    qsizetype anchor_ = 0;  // where the selection began
    qsizetype cursor_ = 0;  // where it ends (the mouse)

    QMenu* menu_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* clearAction_ = nullptr;

    qsizetype limitBytes_ = 0;
    qsizetype keepBytes_ = 0;
    qint64 trimmed_ = 0;
    qsizetype noticeBytes_ = 0;  // the trim notice line at the start, with its line break
};
