#include "widgets/paint/Grayscale.h"

#include <QPainter>

namespace bevelo {

bool paintIconGrayscale(QImage& target, const QImage& icon, int x, int y, int height, int width) {
    if (target.isNull() || icon.isNull()) return false;
    QPainter painter(&target);
    if (!painter.isActive()) return false;
    painter.drawImage(QRect(x, y, width, height), grayscaleIcon(icon));
    return true;
}

}  // namespace bevelo
