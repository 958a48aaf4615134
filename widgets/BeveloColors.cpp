#include "widgets/BeveloColors.h"

namespace bevelo {

std::int32_t rgbOf(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor qcolorOf(std::int32_t rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

}  // namespace bevelo
