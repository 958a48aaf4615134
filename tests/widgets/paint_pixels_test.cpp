// Pixel rules of the drawing helpers: excluded end points, fills, frames,
// 3-D edges and gradients.
#include <gtest/gtest.h>

#include <QImage>

#include "paint_support.h"
#include "widgets/paint/Surface.h"

using namespace bevelo;
using namespace painttest;

namespace {
constexpr OleColor kPaper = 0x123456;
constexpr OleColor kInk = 0x0000FF;

QImage paper(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(toQRgb(kPaper));
    return image;
}

int countInk(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += px(image, x, y) == kInk;
    return n;
}
}  // namespace

TEST(PaintPixels, LinesLeaveOutTheirEndPoint) {
    QImage image = paper(10, 10);
    drawLineOn(image, 2, 1, 5, 1, kInk);
    EXPECT_EQ(px(image, 2, 1), kInk);
    EXPECT_EQ(px(image, 4, 1), kInk);
    EXPECT_EQ(px(image, 5, 1), kPaper);
    EXPECT_EQ(px(image, 1, 1), kPaper);

    drawLineOn(image, 7, 8, 7, 3, kInk);  // upwards: 8..4
    EXPECT_EQ(px(image, 7, 8), kInk);
    EXPECT_EQ(px(image, 7, 4), kInk);
    EXPECT_EQ(px(image, 7, 3), kPaper);

    drawLineOn(image, 3, 3, 0, 3, kInk);  // leftwards: 3..1
    EXPECT_EQ(px(image, 3, 3), kInk);
    EXPECT_EQ(px(image, 1, 3), kInk);
    EXPECT_EQ(px(image, 0, 3), kPaper);
    EXPECT_EQ(countInk(image), 3 + 5 + 3);
}

TEST(PaintPixels, DiagonalLinesStepOnePixelPerRow) {
    QImage image = paper(10, 10);
    drawLineOn(image, 6, 9, 9, 6, kInk);  // (6,9) (7,8) (8,7), not (9,6)
    EXPECT_EQ(px(image, 6, 9), kInk);
    EXPECT_EQ(px(image, 7, 8), kInk);
    EXPECT_EQ(px(image, 8, 7), kInk);
    EXPECT_EQ(px(image, 9, 6), kPaper);
    EXPECT_EQ(countInk(image), 3);
}

TEST(PaintPixels, DrawingOutsideTheImageIsDropped) {
    QImage image = paper(4, 4);
    drawLineOn(image, -3, 2, 8, 2, kInk);
    fillRectOn(image, 3, 3, 9, 9, kInk);
    setPixelOn(image, 4, 0, kInk);
    EXPECT_EQ(countInk(image), 5);  // the four pixels of row 2 and pixel (3, 3)
    EXPECT_EQ(px(image, 3, 3), kInk);
    EXPECT_EQ(pixelOn(image, 4, 0), -1);
    EXPECT_EQ(pixelOn(image, 0, -1), -1);
}

TEST(PaintPixels, FillsLeaveOutRightColumnAndBottomRow) {
    QImage image = paper(10, 10);
    fillRectOn(image, 2, 3, 5, 7, kInk);
    EXPECT_EQ(countInk(image), 3 * 4);
    EXPECT_EQ(px(image, 4, 6), kInk);
    EXPECT_EQ(px(image, 5, 6), kPaper);
    EXPECT_EQ(px(image, 4, 7), kPaper);

    QImage box = paper(10, 10);
    fillBoxOn(box, 2, 3, 3, 4, kInk);  // the same rectangle as x, y, w, h
    EXPECT_EQ(box, image);
}

TEST(PaintPixels, FrameBoxCoversBothEnds) {
    QImage image = paper(10, 10);
    frameBoxOn(image, 1, 2, 4, 3, kInk);  // columns 1..5, rows 2..5
    EXPECT_EQ(countInk(image), 2 * 5 + 2 * 2);
    for (int x = 1; x <= 5; ++x) {
        EXPECT_EQ(px(image, x, 2), kInk);
        EXPECT_EQ(px(image, x, 5), kInk);
    }
    EXPECT_EQ(px(image, 1, 4), kInk);
    EXPECT_EQ(px(image, 5, 3), kInk);
    EXPECT_EQ(px(image, 3, 3), kPaper);
    EXPECT_EQ(px(image, 6, 5), kPaper);
}

namespace {
// Expected colour of a ring pixel: top and left in `tl` except the corners the
// right and bottom sides own, which are in `br`.
void expectRing(const QImage& image, int l, int t, int r, int b, OleColor tl, OleColor br) {
    for (int x = l; x < r; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(px(image, x, t), x == r - 1 ? br : tl);
        EXPECT_EQ(px(image, x, b - 1), br);
    }
    for (int y = t; y < b; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(px(image, l, y), y == b - 1 ? br : tl);
        EXPECT_EQ(px(image, r - 1, y), br);
    }
}
}  // namespace

TEST(PaintPixels, RaisedAndSunkenEdgesUseTheFourShades) {
    const QPalette palette = testPalette();
    QImage raised = paper(12, 8);
    drawEdgeOn(raised, palette, 0, 0, 12, 8, edge::Raised, border::All);
    expectRing(raised, 0, 0, 12, 8, kMidlight, kShadow);
    expectRing(raised, 1, 1, 11, 7, kLight, kDark);
    EXPECT_EQ(px(raised, 2, 2), kPaper);
    EXPECT_EQ(px(raised, 9, 5), kPaper);

    QImage sunken = paper(12, 8);
    drawEdgeOn(sunken, palette, 0, 0, 12, 8, edge::Sunken, border::All);
    expectRing(sunken, 0, 0, 12, 8, kDark, kLight);
    expectRing(sunken, 1, 1, 11, 7, kShadow, kMidlight);
    EXPECT_EQ(px(sunken, 2, 2), kPaper);
}

TEST(PaintPixels, SingleRingEdgesSitOnTheOutermostPixels) {
    const QPalette palette = testPalette();
    QImage inner = paper(12, 8);
    drawEdgeOn(inner, palette, 0, 0, 12, 8, edge::RaisedInner, border::All);
    expectRing(inner, 0, 0, 12, 8, kLight, kDark);
    EXPECT_EQ(px(inner, 1, 1), kPaper);

    QImage outer = paper(12, 8);
    drawEdgeOn(outer, palette, 2, 1, 6, 5, edge::SunkenOuter, border::All);
    expectRing(outer, 2, 1, 8, 6, kDark, kLight);
    EXPECT_EQ(px(outer, 3, 2), kPaper);
    EXPECT_EQ(px(outer, 1, 1), kPaper);
    EXPECT_EQ(px(outer, 8, 1), kPaper);
}

TEST(PaintPixels, VerticalGradientRunsFromStartToEndInclusive) {
    QImage image = paper(10, 12);
    const OleColor a = rgb(0, 100, 255), b = rgb(7, 0, 250);
    verticalGradientOn(image, a, b, 1, 2, 6, 4);  // rows 2..6, columns 1..5
    EXPECT_EQ(px(image, 1, 2), a);
    EXPECT_EQ(px(image, 5, 6), b);
    EXPECT_EQ(px(image, 6, 4), kPaper);  // end column excluded
    EXPECT_EQ(px(image, 3, 7), kPaper);  // n + 1 rows only
    EXPECT_EQ(px(image, 0, 4), kPaper);
    for (int i = 0; i <= 4; ++i) {
        SCOPED_TRACE(i);
        // start + (end - start) * i / n in single precision, halves to even.
        auto ch = [i](int s, int e) { return roundHalfEven(float(s) + float(e - s) * i / 4.0f); };
        EXPECT_EQ(px(image, 3, 2 + i), rgb(ch(0, 7), ch(100, 0), ch(255, 250)));
    }
    // 7 * 2 / 4 = 3.5 -> 4, 7 / 4 = 1.75 -> 2, 5 * 2 / 4 -> 252.5 -> 252
    EXPECT_EQ(px(image, 3, 4), rgb(4, 50, 252));
}

TEST(PaintPixels, GradientStepsRoundHalvesToEven) {
    EXPECT_EQ(rampColor(rgb(0, 0, 0), rgb(5, 7, 3), 1, 2), rgb(2, 4, 2));     // 2.5 3.5 1.5
    EXPECT_EQ(rampColor(rgb(10, 10, 10), rgb(0, 0, 0), 1, 4), rgb(8, 8, 8));  // 7.5 -> 8
    EXPECT_EQ(rampColor(rgb(1, 2, 3), rgb(9, 9, 9), 0, 0), rgb(1, 2, 3));
}

TEST(PaintPixels, ReversedColumnsDrawTheSingleStartColumn) {
    QImage image = paper(10, 10);
    verticalGradientOn(image, kInk, kInk, 6, 0, 5, 3);
    EXPECT_EQ(countInk(image), 4);
    EXPECT_EQ(px(image, 6, 3), kInk);
}

TEST(PaintPixels, HorizontalGradientColoursEachColumnInclusive) {
    QImage image = paper(12, 4);
    const OleColor a = rgb(0, 0, 0), b = rgb(200, 100, 50);
    horizontalGradientOn(image, a, b, 2, 1, 6, 2);  // columns 2..6 on row 1
    EXPECT_EQ(px(image, 2, 1), a);
    EXPECT_EQ(px(image, 6, 1), b);
    EXPECT_EQ(px(image, 4, 1), rgb(100, 50, 25));
    EXPECT_EQ(px(image, 3, 1), rgb(50, 25, 12));  // 12.5 -> 12
    EXPECT_EQ(px(image, 7, 1), kPaper);
    EXPECT_EQ(px(image, 4, 2), kPaper);
}

TEST(PaintPixels, SurfaceBackgroundRepaintsAndStaysWithTheImage) {
    const QPalette palette = testPalette();
    QImage image = paper(6, 6);
    {
        Surface s(image, palette);
        EXPECT_EQ(s.background(), kFace);  // a new image starts on the button face
        s.setBackground(0x00ABCDEF);
        EXPECT_EQ(px(image, 5, 5), 0xABCDEFu);
    }
    setPixelOn(image, 2, 2, kInk);
    Surface again(image, palette);
    EXPECT_EQ(again.background(), 0xABCDEFu);
    again.clear();
    EXPECT_EQ(px(image, 2, 2), 0xABCDEFu);
    again.setBackground(0x8000000D);  // a system reference is translated
    EXPECT_EQ(px(image, 0, 0), kHighlight);
}
