// A bounded pane drops its oldest text in large steps and says so on its first line.
#include <QAccessible>
#include <QLocale>
#include <QScrollBar>
#include <cstring>

#include "widgets/TextPane.h"

void TextPane::setBound(qsizetype limitBytes, qsizetype keepBytes) {
    limitBytes_ = std::max<qsizetype>(0, limitBytes);
    keepBytes_ = std::clamp<qsizetype>(keepBytes, 0, limitBytes_);
}

QString TextPane::trimNotice(qint64 trimmedBytes) const {
    return tr("[%1 bytes trimmed from the start]")
        .arg(QLocale(QLocale::English).toString(trimmedBytes));
}

// Cuts at the first row start that leaves at most keepBytes_ (less the notice)
// behind it: the rows after the cut keep their breaks, so the layout shifts
// instead of being redone, and a trim costs one copy of the kept text.
void TextPane::trimFront() {
    const qsizetype target = utf_8.size() - keepBytes_ + 128;  // room for the notice
    const auto cutRow = std::lower_bound(rowStarts_.begin() + 1, rowStarts_.end(), target);
    // A last row longer than what is kept (text without any break) is cut inside.
    const bool atRow = cutRow != rowStarts_.end();
    qsizetype cut = atRow ? *cutRow : std::min(target, utf_8.size());
    while (cut < utf_8.size() && (static_cast<unsigned char>(utf_8[cut]) & 0xC0) == 0x80) ++cut;

    const qsizetype oldLength = length_;
    const qsizetype cutPositions = positionOfOffset(cut);
    trimmed_ += cut - noticeBytes_;
    const QString noticeText = trimNotice(trimmed_) + QLatin1Char('\n');
    const QByteArray notice = noticeText.toUtf8();
    if (QAccessible::isActive()) {
        QAccessibleTextRemoveEvent removed(this, 0, textRange(0, cutPositions));
        QAccessible::updateAccessibility(&removed);
    }

    // In place: the buffer's pages stay mapped, so refilling it costs no page faults.
    const qsizetype keptBytes = utf_8.size() - cut;
    const qsizetype newSize = notice.size() + keptBytes;
    if (newSize > utf_8.size()) utf_8.resize(newSize);  // a notice longer than the cut text
    char* data = utf_8.data();
    std::memmove(data + notice.size(), data + cut, static_cast<std::size_t>(keptBytes));
    std::memcpy(data, notice.constData(), static_cast<std::size_t>(notice.size()));
    utf_8.resize(newSize);
    if (utf_8.capacity() < limitBytes_) utf_8.reserve(limitBytes_);
    noticeBytes_ = notice.size();
    length_ = oldLength - cutPositions + noticeText.size();

    const int rowsBefore = rowCount();
    const qsizetype shift = noticeBytes_ - cut;
    if (atRow) {
        std::vector<qsizetype> tail(cutRow + 1, rowStarts_.end());
        const qreal rowWidth = rowWidth_, widthAtBreak = widthAtBreak_;
        const qsizetype breakAt = breakAt_ < 0 ? -1 : breakAt_ + shift;
        rowStarts_.assign(1, 0);
        rowWidth_ = 0;
        breakAt_ = -1;
        wrapFrom(0, noticeBytes_);  // ends on its line break: the kept rows follow
        for (qsizetype& start : tail) start += shift;
        rowStarts_.insert(rowStarts_.end(), tail.begin(), tail.end());
        rowWidth_ = rowWidth;
        widthAtBreak_ = widthAtBreak;
        breakAt_ = breakAt;
    } else {
        relayoutAll();
    }

    if (selectionStart() < cutPositions) {
        anchor_ = cursor_ = 0;
    } else {
        anchor_ += noticeText.size() - cutPositions;
        cursor_ += noticeText.size() - cutPositions;
    }
    // A reader who scrolled back keeps the rows in view while the ones above them go.
    if (!followEnd_) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + rowCount() - rowsBefore);
    }
    if (QAccessible::isActive()) {
        QAccessibleTextInsertEvent inserted(this, 0, noticeText);
        QAccessible::updateAccessibility(&inserted);
    }
}
