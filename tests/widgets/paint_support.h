// Shared fixtures of the Bevelo painting tests: a palette whose system colours
// are all distinct, and a one-call repaint of a fresh surface.
#pragma once

#include <QImage>
#include <QPalette>

#include "widgets/BeveloFields.h"
#include "widgets/paint/BeveloPainter.h"
#include "widgets/paint/ColorMath.h"

namespace painttest {

// Colours as 0x00BBGGRR, so they compare with what the surface reads back.
constexpr OleColor kFace = bevelo::rgb(0xD4, 0xD0, 0xC8);
constexpr OleColor kLight = bevelo::rgb(0xFE, 0xFD, 0xFC);
constexpr OleColor kMidlight = bevelo::rgb(0xE1, 0xE2, 0xE3);
constexpr OleColor kDark = bevelo::rgb(0xA0, 0xA1, 0xA2);  // button shadow
constexpr OleColor kShadow = bevelo::rgb(0x40, 0x41, 0x42);
constexpr OleColor kWindow = bevelo::rgb(0xFB, 0xFA, 0xF9);
constexpr OleColor kHighlight = bevelo::rgb(0x33, 0x66, 0xCC);
constexpr OleColor kButtonText = bevelo::rgb(0x10, 0x11, 0x12);
constexpr OleColor kGrayText = bevelo::rgb(0x8D, 0x8E, 0x8F);

inline QColor qc(OleColor c) {
    return QColor::fromRgb(bevelo::toQRgb(c));
}

inline QPalette testPalette() {
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Button, qc(kFace));
        p.setColor(group, QPalette::Light, qc(kLight));
        p.setColor(group, QPalette::Midlight, qc(kMidlight));
        p.setColor(group, QPalette::Dark, qc(kDark));
        p.setColor(group, QPalette::Shadow, qc(kShadow));
        p.setColor(group, QPalette::Base, qc(kWindow));
        p.setColor(group, QPalette::Highlight, qc(kHighlight));
        p.setColor(group, QPalette::ButtonText,
                   qc(group == QPalette::Disabled ? kGrayText : kButtonText));
        p.setColor(group, QPalette::Text,
                   qc(group == QPalette::Disabled ? kGrayText : kButtonText));
    }
    return p;
}

// A shown, enabled, run-time control of the given style with no caption.
inline BeveloProperties plainProps(int style) {
    BeveloProperties p;
    p.Style = style;
    p.Caption.clear();
    return p;
}

inline BeveloRuntime shownRuntime(int state = StateNormal) {
    BeveloRuntime rt;
    rt.shown = true;
    rt.userMode = true;
    rt.state = state;
    return rt;
}

inline QImage repaint(BeveloProperties& props, BeveloRuntime& rt, int w = 130, int h = 28,
                      const QPalette& palette = testPalette()) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    bevelo::refresh(image, props, rt, palette);
    return image;
}

inline OleColor px(const QImage& image, int x, int y) {
    return bevelo::fromQRgb(image.pixel(x, y));
}

}  // namespace painttest
