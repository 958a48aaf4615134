#include "port/DeviceKind.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace {
#ifdef Q_OS_LINUX
// Unix98 pty slaves use major numbers 136 to 143.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;
#endif
}  // namespace

bool isPseudoTerminal(const QString& device) {
#ifdef Q_OS_LINUX
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned major = ::major(st.st_rdev);
    return major >= kFirstPtySlaveMajor && major <= kLastPtySlaveMajor;
#else
    return QFileInfo(device).canonicalFilePath().startsWith(QLatin1String("/dev/pts/"));
#endif
}

bool isTerminalDevice(const QString& device) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    // A terminal another program holds in exclusive mode refuses with EBUSY.
    if (fd < 0) return errno == EBUSY;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
#else
    Q_UNUSED(device);
    return true;
#endif
}

bool lockFileNameTooLong(const QString& device) {
#ifdef Q_OS_UNIX
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QFile::encodeName(QStringLiteral("LCK..") + name).size() > NAME_MAX;
#else
    Q_UNUSED(device);
    return false;
#endif
}
