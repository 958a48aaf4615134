// A read-only text pane for long, ever-growing echo text ("68 0A FF ..."):
// it keeps the text as it is and wraps it into rows incrementally, so an
// append costs the same however long the text already is, and it paints only
// the rows on screen. Reading, replacing and appending the whole text behave
// like a plain text box.
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QString>
#include <QTimer>
#include <array>
#include <string_view>
#include <vector>

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

  signals:
    void textChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void appendBytes(const char* data, qsizetype size);
    void showAppended();
    void wrapFrom(qsizetype offset);
    void relayoutAll();
    void refreshCharWidths();
    qreal charWidth(char32_t c) const;
    void updateScrollBar(bool followEnd);
    int wrapWidth() const;
    void copyAll() const;

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
};
