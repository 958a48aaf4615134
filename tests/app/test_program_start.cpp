// The program itself, started as a user would.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

TEST(ProgramStart, WithoutADisplayItSaysSoAndExitsWithAnError) {
    const QString bin = qEnvironmentVariable("MB_BIN_DIR") + QStringLiteral("/meterbench");
    if (!QFileInfo(bin).isExecutable())
        GTEST_SKIP() << "meterbench is not built next to the tests (MB_BIN_DIR=" << qPrintable(bin)
                     << ")";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(bin, {});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(program.exitCode(), 0);
    const QString message = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(message.contains(QStringLiteral("no display"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("xvfb-run"))) << message.toStdString();
}

TEST(ProgramStart, OffscreenItOpensTheWindowAndRunsUntilClosed) {
    const QString bin = qEnvironmentVariable("MB_BIN_DIR") + QStringLiteral("/meterbench");
    if (!QFileInfo(bin).isExecutable())
        GTEST_SKIP() << "meterbench is not built next to the tests (MB_BIN_DIR=" << qPrintable(bin)
                     << ")";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("METERBENCH_PORTS"), QString());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(bin, {});
    ASSERT_TRUE(program.waitForStarted(5000));
    EXPECT_FALSE(program.waitForFinished(1500))
        << "the window should stay open: " << program.readAllStandardError().toStdString();
    program.terminate();
    program.waitForFinished(5000);
}
