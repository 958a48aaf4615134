#include "widgets/TextPane.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "widgets/TextPaneAccessible.h"

namespace {

constexpr int kMargin = 3;

// Decodes one UTF-8 sequence at data[i]; advances i. Malformed bytes count as one character each.
char32_t decodeAt(const char* data, qsizetype size, qsizetype& i) {
    const auto b0 = static_cast<unsigned char>(data[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    char32_t c = extra == 3 ? (b0 & 0x07) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x1F);
    qsizetype j = i + 1;
    for (int k = 0; k < extra && j < size; ++k, ++j) {
        const auto b = static_cast<unsigned char>(data[j]);
        if ((b & 0xC0) != 0x80) break;
        c = (c << 6) | (b & 0x3F);
    }
    i = extra == 0 ? i + 1 : j;
    return extra == 0 ? char32_t(0xFFFD) : c;
}

}  // namespace

TextPane::TextPane(QWidget* parent) : QAbstractScrollArea(parent) {
    TextPaneAccessible::registerFactory();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(16);
    connect(&repaintTimer_, &QTimer::timeout, this, &TextPane::showAppended);
    refreshCharWidths();
    layoutWidth_ = wrapWidth();
    buildMenu();
}

QString TextPane::text() const {
    return QString::fromUtf8(utf_8);
}

void TextPane::setText(const QString& text) {
    repaintTimer_.stop();
    utf_8 = text.toUtf8();
    length_ = text.size();
    trimmed_ = 0;
    noticeBytes_ = 0;
    anchor_ = cursor_ = 0;
    ascii_ = true;
    for (char c : std::as_const(utf_8))
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii_ = false;
            break;
        }
    relayoutAll();
    updateScrollBar(true);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent update(this, 0, QString(), text);
        QAccessible::updateAccessibility(&update);
    }
    emit textChanged();
}

void TextPane::appendText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    appendBytes(utf8.constData(), utf8.size());
}

void TextPane::appendUtf8(std::string_view utf8) {
    appendBytes(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void TextPane::appendBytes(const char* data, qsizetype size) {
    if (size <= 0) return;
    if (!repaintTimer_.isActive()) {
        const QScrollBar* bar = verticalScrollBar();
        followEnd_ = bar->value() >= bar->maximum();
        repaintTimer_.start();
    }
    const qsizetype oldSize = utf_8.size();
    const qsizetype oldLength = length_;
    utf_8.append(data, size);
    bool ascii = true;
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        length_ += size;
    } else {
        ascii_ = false;
        length_ += QString::fromUtf8(data, size).size();
    }
    wrapFrom(oldSize);
    if (QAccessible::isActive()) {
        QAccessibleTextInsertEvent ev(this, static_cast<int>(oldLength),
                                      QString::fromUtf8(data, size));
        QAccessible::updateAccessibility(&ev);
    }
    if (limitBytes_ > 0 && utf_8.size() > limitBytes_) trimFront();
    emit textChanged();
}

QString TextPane::textRange(qsizetype start, qsizetype end) const {
    start = qBound<qsizetype>(0, start, length_);
    end = qBound<qsizetype>(start, end, length_);
    if (ascii_) return QString::fromLatin1(utf_8.constData() + start, end - start);
    return text().mid(start, end - start);
}

QString TextPane::rowText(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    const qsizetype from = rowStarts_[static_cast<std::size_t>(row)];
    const qsizetype to =
        row + 1 < rowCount() ? rowStarts_[static_cast<std::size_t>(row) + 1] : utf_8.size();
    return QString::fromUtf8(utf_8.constData() + from, to - from);
}

qsizetype TextPane::rowStartPosition(int row) const {
    row = qBound(0, row, rowCount() - 1);
    return positionOfOffset(rowStarts_[static_cast<std::size_t>(row)]);
}

qsizetype TextPane::positionOfOffset(qsizetype offset) const {
    return ascii_ ? offset : QString::fromUtf8(utf_8.constData(), offset).size();
}

int TextPane::rowAtPosition(qsizetype position) const {
    if (ascii_) {
        const auto it = std::upper_bound(rowStarts_.begin(), rowStarts_.end(), position);
        return qMax(0, static_cast<int>(it - rowStarts_.begin()) - 1);
    }
    for (int r = rowCount() - 1; r > 0; --r)
        if (rowStartPosition(r) <= position) return r;
    return 0;
}

int TextPane::lineHeight() const {
    return qMax(1, QFontMetrics(font()).lineSpacing());
}

int TextPane::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

int TextPane::wrapWidth() const {
    return qMax(1, viewport()->width() - 2 * kMargin);
}

void TextPane::refreshCharWidths() {
    const QFontMetricsF fm(font());
    for (int c = 0; c < 128; ++c)
        asciiWidth_[static_cast<std::size_t>(c)] = c < 32 ? 0.0 : fm.horizontalAdvance(QChar(c));
}

qreal TextPane::charWidth(char32_t c) const {
    if (c < 128) return asciiWidth_[c];
    return QFontMetricsF(font()).horizontalAdvance(QString::fromUcs4(&c, 1));
}

// Greedy word wrap of the text from `offset` on (to `end`, -1 = the end),
// continuing the last row. Blanks never start a new row (they hang at its
// end); a word wider than the row is cut where it no longer fits. A row's
// breaks depend only on the text from its start, which lets a trim keep them.
void TextPane::wrapFrom(qsizetype offset, qsizetype end) {
    const char* data = utf_8.constData();
    const qsizetype size = end < 0 ? utf_8.size() : end;
    const qreal limit = qMax(1, layoutWidth_);
    qsizetype i = offset;
    while (i < size) {
        const qsizetype at = i;
        const char32_t c = decodeAt(data, size, i);
        if (c == U'\n') {
            rowStarts_.push_back(i);
            rowWidth_ = 0;
            breakAt_ = -1;
            continue;
        }
        const qreal w = charWidth(c);
        if (c == U' ') {
            rowWidth_ += w;
            breakAt_ = i;
            widthAtBreak_ = rowWidth_;
            continue;
        }
        if (rowWidth_ + w > limit && at > rowStarts_.back()) {
            if (breakAt_ > rowStarts_.back() && breakAt_ <= at) {
                rowStarts_.push_back(breakAt_);
                rowWidth_ -= widthAtBreak_;
            } else {
                rowStarts_.push_back(at);
                rowWidth_ = 0;
            }
            breakAt_ = -1;
        }
        rowWidth_ += w;
    }
}

void TextPane::relayoutAll() {
    rowStarts_.assign(1, 0);
    rowWidth_ = 0;
    breakAt_ = -1;
    widthAtBreak_ = 0;
    layoutWidth_ = wrapWidth();
    wrapFrom(0);
}

void TextPane::updateScrollBar(bool followEnd) {
    QScrollBar* bar = verticalScrollBar();
    const int visible = qMax(1, (viewport()->height() - 2 * kMargin) / lineHeight());
    bar->setPageStep(visible);
    bar->setSingleStep(1);
    bar->setRange(0, qMax(0, rowCount() - visible));
    if (followEnd) bar->setValue(bar->maximum());
}

void TextPane::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const int lh = lineHeight();
    const int ascent = QFontMetrics(font()).ascent();
    const int first = firstVisibleRow();
    const int rows = viewport()->height() / lh + 1;
    for (int r = 0; r < rows && first + r < rowCount(); ++r) {
        p.drawText(kMargin, kMargin + r * lh + ascent, rowText(first + r));
        if (hasSelection()) paintSelection(p, first + r, kMargin + r * lh, ascent);
    }
}

// The selected part of a row, drawn over it in the highlight colours.
void TextPane::paintSelection(QPainter& p, int row, int y, int ascent) {
    const qsizetype rowStart = rowStartPosition(row);
    const QString text = rowText(row);
    const qsizetype from = std::max(selectionStart(), rowStart) - rowStart;
    const qsizetype to = std::min(selectionEnd(), rowStart + text.size()) - rowStart;
    if (from >= to) return;
    const QFontMetricsF fm(font());
    const qreal x = kMargin + fm.horizontalAdvance(text.left(from));
    const QString part = text.mid(from, to - from);
    p.fillRect(QRectF(x, y, fm.horizontalAdvance(part), lineHeight()),
               palette().color(QPalette::Highlight));
    p.save();
    p.setPen(palette().color(QPalette::HighlightedText));
    p.drawText(QPointF(x, y + ascent), part);
    p.restore();
}

qsizetype TextPane::positionAt(const QPoint& viewportPoint) const {
    const int row =
        qBound(0, firstVisibleRow() + (viewportPoint.y() - kMargin) / lineHeight(), rowCount() - 1);
    const QString text = rowText(row);
    const QFontMetricsF fm(font());
    qreal x = kMargin;
    qsizetype column = 0;
    for (; column < text.size() && text[column] != QLatin1Char('\n'); ++column) {
        const qreal w = fm.horizontalAdvance(text[column]);
        if (viewportPoint.x() < x + w / 2) break;
        x += w;
    }
    return rowStartPosition(row) + column;
}

void TextPane::select(qsizetype anchor, qsizetype end) {
    anchor = qBound<qsizetype>(0, anchor, length_);
    end = qBound<qsizetype>(0, end, length_);
    if (anchor == anchor_ && end == cursor_) return;
    anchor_ = anchor;
    cursor_ = end;
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent ev(this, static_cast<int>(selectionStart()),
                                         static_cast<int>(selectionEnd()));
        QAccessible::updateAccessibility(&ev);
    }
    emit selectionChanged();
}

void TextPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    const qsizetype at = positionAt(event->position().toPoint());
    select(event->modifiers().testFlag(Qt::ShiftModifier) ? anchor_ : at, at);
}

void TextPane::mouseMoveEvent(QMouseEvent* event) {
    if (!event->buttons().testFlag(Qt::LeftButton)) return;
    select(anchor_, positionAt(event->position().toPoint()));
}

// The release ends the drag the press began here.
void TextPane::mouseReleaseEvent(QMouseEvent* event) {
    event->setAccepted(event->button() == Qt::LeftButton);
}

void TextPane::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const bool atEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
    if (wrapWidth() != layoutWidth_) relayoutAll();
    updateScrollBar(atEnd);
}

void TextPane::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        refreshCharWidths();
        relayoutAll();
        updateScrollBar(true);
        viewport()->update();
    }
}

void TextPane::scrollContentsBy(int, int) {
    viewport()->update();
}

// Scroll bar and rows catch up with the appended text once per frame.
void TextPane::showAppended() {
    updateScrollBar(followEnd_);
    viewport()->update();
}
