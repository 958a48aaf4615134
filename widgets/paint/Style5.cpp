// Style 5: a rounded push button drawn without visual themes. Fixed colours
// (blue-grey border, light face, orange hot bands, blue focus bands) unless
// custom colours are on, then the same kind of face derived from BackColor.
#include "widgets/paint/DrawnFaceKit.h"
#include "widgets/paint/DrawnStyles.h"

namespace bevelo::drawn {

namespace {

// Pixels of the four cut corners as the border routines list them.
void cornerPixels(Surface& c, int W, int H, OleColor inner, OleColor outer, OleColor ring) {
    for (auto [x, y] : {std::pair{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}})
        c.setPixel(x, y, inner);
    for (auto [x, y] : {std::pair{0, 1},
                        {1, 0},
                        {1, H - 1},
                        {0, H - 2},
                        {W - 1, H - 2},
                        {W - 2, H - 1},
                        {W - 2, 0},
                        {W - 1, 1}})
        c.setPixel(x, y, outer);
    for (auto [x, y] : {std::pair{1, 2},
                        {2, 1},
                        {2, H - 2},
                        {1, H - 3},
                        {W - 2, H - 3},
                        {W - 3, H - 2},
                        {W - 3, 1},
                        {W - 2, 2}})
        c.setPixel(x, y, ring);
}

// The twelve points of the disabled look.
void disabledPoints(Surface& c, int W, int H, OleColor col) {
    for (auto [x, y] : {std::pair{0, 1},
                        {1, 1},
                        {1, 0},
                        {0, H - 2},
                        {1, H - 2},
                        {1, H - 1},
                        {W - 1, 1},
                        {W - 2, 1},
                        {W - 2, 0},
                        {W - 1, H - 2},
                        {W - 2, H - 2},
                        {W - 2, H - 1}})
        c.setPixel(x, y, col);
}

// Four lines across the face (top two, bottom two) and the two side columns.
void band(Surface& c, int W, int H, OleColor top1, OleColor top2, OleColor bottom3,
          OleColor bottom2) {
    c.drawLine(2, 1, W - 2, 1, top1);
    c.drawLine(2, 2, W - 2, 2, top2);
    c.drawLine(2, H - 3, W - 2, H - 3, bottom3);
    c.drawLine(2, H - 2, W - 2, H - 2, bottom2);
    vgrad(c, top2, bottom3, 1, 3, 2, H - 5);
    vgrad(c, top2, bottom3, W - 3, W - 1, 2, H - 5);
}

void fixedColours(Surface& c, const FaceInputs& in) {
    const int W = c.width(), H = c.height();
    const int s = in.state;
    c.setBackground(in.face);
    if (s < 1 || s > 4) return;
    if (s == 1 || s == 2) {
        vgrad(c, hex(0xFCFCFB), hex(0xF0F0F0), 1, W - 2, 1, 4);
        vgrad(c, hex(0xFAFAF9), hex(0xF0F0EA), 1, W - 2, 4, H - 8);
        vgrad(c, hex(0xEBEBE6), hex(0xD6D0C5), 1, W - 2, H - 4, 3);
        vgrad(c, hex(0xFBFBFA), hex(0xE4E2DA), W - 3, W - 2, 3, H - 5);
        vgrad(c, hex(0xF5F4F2), hex(0xDBD7CD), W - 2, W - 1, 3, H - 5);
    } else if (s == 3) {
        vgrad(c, hex(0xD1CCC1), hex(0xE4E3DC), 2, W - 1, 1, 4);
        vgrad(c, hex(0xE4E3DC), hex(0xE3E2DB), 2, W - 1, 4, H - 8);
        vgrad(c, hex(0xE3E2DB), hex(0xF2F1EE), 3, W - 1, H - 4, 3);
        vgrad(c, hex(0xDAD8CE), hex(0xE3E2DB), 1, 2, 3, H - 5);
        vgrad(c, hex(0xDAD8CE), hex(0xE3E2DB), 2, 3, 4, H - 7);
    } else {
        c.setBackground(hex(0xF5F5EA));
        c.frameBox(0, 0, W - 1, H - 1, hex(0xC9C8BA));
        disabledPoints(c, W, H, hex(0xD8D5C7));
        return;
    }
    const OleColor border = hex(0x003C74);
    c.drawLine(1, 0, W - 1, 0, border);
    c.drawLine(0, 1, 0, H - 1, border);
    c.drawLine(W - 1, 1, W - 1, H - 1, border);
    c.drawLine(1, H - 1, W - 1, H - 1, border);
    cornerPixels(c, W, H, hex(0x486E90), hex(0x6A8BA2), hex(0xBFC7CA));
    if (s == 2) {
        band(c, W, H, hex(0xFFF0CF), hex(0xFDD889), hex(0xF8B330), hex(0xE59710));
    } else if (s == 1 && (in.hasFocus || in.displayAsDefault)) {
        band(c, W, H, hex(0xCEE7FF), hex(0xBCD4F6), hex(0x89ADE4), hex(0x6982EE));
    }
}

void customColours(Surface& c, const FaceInputs& in) {
    const int W = c.width(), H = c.height();
    const int s = in.state;
    const OleColor B = in.back;
    if (s < 1 || s > 5) return;
    if (s == 1 || s == 2 || s == 5) {
        c.setBackground(B);
        vgrad(c, B, add(B, -15), 1, W - 2, 1, H - 3);
        vgrad(c, add(B, 21), add(B, -21), 1, 2, 2, H - 5);
        vgrad(c, add(B, -5), add(B, -32), W - 2, W - 3, 2, H - 5);
        c.drawLine(2, 1, W - 2, 1, add(B, 5));
        c.drawLine(1, 2, W - 1, 2, add(B, 2));
        c.drawLine(2, H - 4, W - 2, H - 4, add(B, -16));
        c.drawLine(2, H - 3, W - 2, H - 3, add(B, -24));
        c.drawLine(2, H - 2, W - 2, H - 2, add(B, -37));
        const OleColor k = add(B, -128);
        octagonRim(c, W, H, k, add(B, -21));
        // Hot band in HighlightColor; focus (and state 5) band in the system selection colour.
        if (s == 2 || s == 5 || (in.hasFocus && in.showFocus)) {
            const OleColor h = s == 2 ? in.highlight : in.selection;
            c.drawLine(2, 1, W - 2, 1, add(h, 85));
            c.drawLine(2, 2, W - 2, 2, add(h, 69));
            c.drawLine(2, H - 3, W - 2, H - 3, add(h, 16));
            c.drawLine(2, H - 2, W - 2, H - 2, h);
            vgrad(c, add(h, 69), add(h, 16), 1, 3, 2, H - 5);
            vgrad(c, add(h, 69), add(h, 16), W - 3, W - 1, 2, H - 5);
        }
    } else if (s == 3) {
        // Pressed: the background colour stays as it was.
        vgrad(c, add(B, -37), add(B, -21), 2, W - 1, 1, 4);
        vgrad(c, add(B, -21), add(B, -5), 2, W - 1, 4, H - 8);
        vgrad(c, add(B, -5), add(B, 5), 3, W - 1, H - 4, 3);
        vgrad(c, add(B, -32), add(B, -22), 1, 2, 3, H - 5);
        vgrad(c, add(B, -24), add(B, -15), 2, 3, 4, H - 7);
        c.setPixel(1, 2, add(B, -48));
        c.setPixel(2, 1, add(B, -48));
        c.setPixel(2, H - 2, add(B, -5));
        c.setPixel(1, H - 3, add(B, -16));
        c.setPixel(W - 2, H - 3, add(B, 18));
        c.setPixel(W - 3, H - 2, add(B, 8));
        c.setPixel(W - 3, 1, add(B, -48));
        c.setPixel(W - 2, 2, add(B, -37));
        const OleColor k = add(B, -128);
        c.drawLine(1, 0, W - 1, 0, k);
        c.drawLine(0, 1, 0, H - 1, k);
        c.drawLine(W - 1, 1, W - 1, H - 1, k);
        c.drawLine(1, H - 1, W - 1, H - 1, k);
        for (auto [x, y] : {std::pair{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}})
            c.setPixel(x, y, add(B, -96));
    } else {  // 4, disabled
        c.setBackground(B);
        c.frameBox(0, 0, W - 1, H - 1, add(B, -64));
        disabledPoints(c, W, H, add(B, -53));
    }
}

}  // namespace

static void face5(Surface& c, const FaceInputs& in) {
    if (in.custom)
        customColours(c, in);
    else
        fixedColours(c, in);
}

}  // namespace bevelo::drawn

namespace bevelo {

void drawStyle5(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt) {
    drawn::face5(surface, drawn::faceInputs(surface, props, rt));
}

}  // namespace bevelo
