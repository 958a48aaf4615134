// Layout positions are kept in twips, 15 to a pixel at normal scaling; Qt's
// high-DPI scaling takes care of other screens.
#pragma once

#include <QRect>
#include <QWidget>

constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return (twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

inline void placeTwips(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsRect(left, top, width, height));
}
