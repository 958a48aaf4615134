#include "widgets/TextPane.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
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
}

QString TextPane::text() const {
    return QString::fromUtf8(utf_8);
}

void TextPane::setText(const QString& text) {
    repaintTimer_.stop();
    utf_8 = text.toUtf8();
    length_ = text.size();
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
    const qsizetype offset = rowStarts_[static_cast<std::size_t>(row)];
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

// Greedy word wrap of the text from `offset` on, continuing the last row.
// Blanks never start a new row (they hang at its end); a word wider than the
// row is cut where it no longer fits.
void TextPane::wrapFrom(qsizetype offset) {
    const char* data = utf_8.constData();
    const qsizetype size = utf_8.size();
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
    for (int r = 0; r < rows && first + r < rowCount(); ++r)
        p.drawText(kMargin, kMargin + r * lh + ascent, rowText(first + r));
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

void TextPane::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copyAll();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TextPane::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("Copy All"), this, &TextPane::copyAll)->setEnabled(length_ > 0);
    menu.exec(event->globalPos());
}

void TextPane::copyAll() const {
    if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setText(text());
}

// Scroll bar and rows catch up with the appended text once per frame.
void TextPane::showAppended() {
    updateScrollBar(followEnd_);
    viewport()->update();
}
