#include "widgets/paint/Caption.h"

#include <QPainter>

namespace bevelo {

OleColor captionColor(const Surface& s, const BeveloProperties& p, int state) {
    if (state == StateDisabled) return s.grayText();
    if (!p.UseCustomColors) return s.buttonText();
    return s.resolve(state == StateNormal ? p.FontColor : p.FontHighlightColor);
}

int qtTextFlags(int format) {
    int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (format & textformat::Center)
        flags |= Qt::AlignHCenter;
    else if (format & textformat::Right)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & textformat::VCenter)
        flags |= Qt::AlignVCenter;
    else if (format & textformat::Bottom)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    return flags;
}

void drawCaption(Surface& s, const BeveloProperties& p, int state, int captionFormat) {
    const OleColor previous = s.textColor();
    s.setTextColor(captionColor(s, p, state));
    if (!p.Caption.isEmpty()) {
        const QRect box(QPoint(4, 4), QPoint(s.width() - 5, s.height() - 5));
        QPainter painter(&s.image());
        QFont font = p.Font;
        if (s.deviceScale() != 1.0) {  // the surface is in device pixels
            if (font.pixelSize() > 0)
                font.setPixelSize(qRound(font.pixelSize() * s.deviceScale()));
            else
                font.setPointSizeF(font.pointSizeF() * s.deviceScale());
        }
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(toQRgb(s.textColor())));
        if (!(captionFormat & textformat::NoClip)) painter.setClipRect(box);
        painter.drawText(box, qtTextFlags(captionFormat), p.Caption);
    }
    s.setTextColor(previous);
}

}  // namespace bevelo
