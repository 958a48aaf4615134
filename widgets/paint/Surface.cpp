#include "widgets/paint/Surface.h"

namespace bevelo {

namespace {
// The background colour travels with the image, as a persistent surface keeps it.
const QString kBackgroundKey = QStringLiteral("BeveloBackColor");

QImage& as32Bit(QImage& image) {
    if (!image.isNull() && image.depth() != 32) image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}
}  // namespace

Surface::Surface(QImage& image, const QPalette& palette)
    : image_(as32Bit(image)), palette_(palette), deviceScale_(image_.devicePixelRatio()) {
    if (deviceScale_ != 1.0) image_.setDevicePixelRatio(1.0);
    bool ok = false;
    const uint stored = image_.text(kBackgroundKey).toUInt(&ok, 16);
    background_ = ok ? stored : face();
    textColor_ = buttonText();
}

Surface::~Surface() {
    if (deviceScale_ != 1.0) image_.setDevicePixelRatio(deviceScale_);
}

OleColor Surface::face() const {
    return resolveColor(systemColorRef(syscolor::ButtonFace), palette_);
}
OleColor Surface::shadow() const {
    return resolveColor(systemColorRef(syscolor::ButtonShadow), palette_);
}
OleColor Surface::highlight() const {
    return resolveColor(systemColorRef(syscolor::Highlight), palette_);
}
OleColor Surface::window() const {
    return resolveColor(systemColorRef(syscolor::Window), palette_);
}
OleColor Surface::buttonText() const {
    return resolveColor(systemColorRef(syscolor::ButtonText), palette_);
}
OleColor Surface::grayText() const {
    return resolveColor(systemColorRef(syscolor::GrayText), palette_);
}

void Surface::setBackground(OleColor colour) {
    background_ = resolve(colour);
    if (!image_.isNull()) image_.setText(kBackgroundKey, QString::number(background_, 16));
    clear();
}

void Surface::clear() {
    fillRectOn(image_, 0, 0, width(), height(), background_);
}

}  // namespace bevelo
