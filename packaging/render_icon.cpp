// Renders the application icon from the logo the window draws: its dial, cut
// square from the logo's left end, so the desktop menu shows what the window does.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "app/Logo.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: render_icon OUTPUT.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");  // runs in the build, without a display
    QGuiApplication app(argc, argv);
    constexpr int kHeight = 64;
    constexpr qreal kScale = 4.0;
    // Logo geometry: the dial ends at 0.74 of the height, the text begins just after.
    const QImage logo = drawLogo(QSize(kHeight * 3, kHeight), kScale).toImage();
    const int side = static_cast<int>(kHeight * kScale * 0.86);
    const int top = static_cast<int>(kHeight * kScale * 0.07);
    const QImage icon = logo.copy(0, top, side, side).scaled(256, 256, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return icon.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
