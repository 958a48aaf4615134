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
    // Logo geometry: the dial ends at 0.74 of the height and the name begins
    // 6 px after it; the square stops 5 px after the dial, centred on it in height.
    const QImage logo = drawLogo(QSize(kHeight * 3, kHeight), kScale).toImage();
    const qreal side = kHeight * 0.74 + 5;
    const qreal top = (kHeight - side) / 2;
    const QImage icon = logo.copy(0, qRound(top * kScale), qRound(side * kScale), qRound(side * kScale))
                            .scaled(256, 256, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return icon.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
