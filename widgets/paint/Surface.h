// The control's drawing surface: its persistent image in device pixels, the
// palette its system colours come from, and the background and text colours.
// Every helper of the face routines is here; those that draw on another image
// are the free "...On" functions of PixelOps.h, Edge.h and Gradient.h.
#pragma once

#include <QImage>
#include <QPalette>
#include <cstdint>

#include "widgets/BeveloFields.h"
#include "widgets/paint/ColorMath.h"
#include "widgets/paint/Edge.h"
#include "widgets/paint/Gradient.h"
#include "widgets/paint/PixelOps.h"
#include "widgets/paint/SystemColors.h"

namespace bevelo {

class Surface {
  public:
    // Works on `image` in place (converted to RGB32 first when it is not a 32-bit
    // format). The background colour is the one the image last had (kept with it),
    // the button face for a new image. While the surface lives, painters on the
    // image work in device pixels: its device pixel ratio is set aside and put
    // back by the destructor.
    Surface(QImage& image, const QPalette& palette);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Device pixels per logical pixel of the image (text is scaled by it).
    qreal deviceScale() const { return deviceScale_; }

    QImage& image() { return image_; }
    const QPalette& palette() const { return palette_; }
    int width() const { return image_.width(); }    // W
    int height() const { return image_.height(); }  // H

    // System colours at drawing time (RGB, red in the low byte).
    OleColor face() const;        // button face
    OleColor shadow() const;      // button shadow
    OleColor highlight() const;   // selection highlight
    OleColor window() const;      // window background
    OleColor buttonText() const;  // button text
    OleColor grayText() const;    // disabled text
    // A property colour as the arithmetic takes it: system references translated.
    OleColor resolve(OleColor colour) const { return resolveColor(colour, palette_); }

    // Setting the background repaints the whole surface in it (and keeps it with
    // the image); it shows wherever a face draws nothing.
    void setBackground(OleColor colour);
    OleColor background() const { return background_; }
    // Fills the whole surface with the background colour.
    void clear();

    void setTextColor(OleColor colour) { textColor_ = colour; }
    OleColor textColor() const { return textColor_; }

    void setPixel(int x, int y, OleColor colour) { setPixelOn(image_, x, y, colour); }
    std::int32_t pixel(int x, int y) const { return pixelOn(image_, x, y); }

    // See PixelOps.h: end point excluded.
    void drawLine(int x1, int y1, int x2, int y2, OleColor colour) {
        drawLineOn(image_, x1, y1, x2, y2, colour);
    }
    // Right column and bottom row excluded.
    void fillRect(int left, int top, int right, int bottom, OleColor colour) {
        fillRectOn(image_, left, top, right, bottom, colour);
    }
    void fillBox(int x, int y, int w, int h, OleColor colour) {
        fillBoxOn(image_, x, y, w, h, colour);
    }
    void frameBox(int x, int y, int w, int h, OleColor colour) {
        frameBoxOn(image_, x, y, w, h, colour);
    }
    // Edge kinds and border flags of Edge.h (raised 5, sunken 10, 4, 2; flags 15).
    void drawEdge(int x, int y, int w, int h, int kind, int borderFlags = border::All) {
        drawEdgeOn(image_, palette_, x, y, w, h, kind, borderFlags);
    }
    void verticalGradient(OleColor start, OleColor end, int x1, int top, int x2, int n) {
        verticalGradientOn(image_, start, end, x1, top, x2, n);
    }
    void horizontalGradient(OleColor start, OleColor end, int left, int y1, int right, int y2) {
        horizontalGradientOn(image_, start, end, left, y1, right, y2);
    }

  private:
    QImage& image_;
    const QPalette& palette_;
    OleColor background_;
    OleColor textColor_;
    qreal deviceScale_;
};

}  // namespace bevelo
