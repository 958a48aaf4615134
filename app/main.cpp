// MeterBench: one window, no stored settings; the only option is --version.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "widgets/Fonts.h"
#include "app/MainForm.h"

namespace {

// Qt aborts with a long plugin message when there is no display; say it plainly instead.
bool displayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the display check, so it works on a machine without one.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("meterbench %s\n", MB_VERSION);
        return 0;
    }
    if (!displayAvailable()) {
        std::fputs(
            "meterbench: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Start it from a desktop session, or under a virtual display, e.g.\n"
            "  xvfb-run -s \"-screen 0 1280x800x24\" build/bin/meterbench\n",
            stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MeterBench"));
    installFontSubstitutions();
    MainForm window;
    window.show();
    return app.exec();
}
