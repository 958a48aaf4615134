// The window says when its session record cannot be written, and when writing
// resumes, on the RecordStatus line, which sits clear of every designed control.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "tests/app/FormHarness.h"
#include "tests/support/qt/DataHome.h"
#include "tests/support/qt/WaitFor.h"

namespace {

QLabel* recordStatus(FormHarness& h) { return h.form->findChild<QLabel*>(QStringLiteral("RecordStatus")); }

TEST(RecordStatus, SitsInTheMainPanelClearOfEveryDesignedControlAndStartsHidden) {
    FormHarness h{QString()};
    QLabel* status = recordStatus(h);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->accessibleDescription(), QStringLiteral("RecordStatus"));
    EXPECT_FALSE(status->isVisible());
    QWidget* panel = status->parentWidget();
    ASSERT_EQ(panel->objectName(), QStringLiteral("mainpage"));
    EXPECT_TRUE(panel->rect().contains(status->geometry())) << "inside the main panel";
    for (QWidget* sibling : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (sibling == status) continue;
        EXPECT_FALSE(sibling->geometry().intersects(status->geometry())) << sibling->objectName().toStdString();
    }
    EXPECT_EQ(h.form->size(), QSize(912, 606));
}

// A plain file where the data folder should be: the line says so once, the
// window goes on; when the folder can be made, it says writing resumed.
TEST(RecordStatus, SaysTheRecordCannotBeWrittenAndAgainWhenItResumes) {
    QTemporaryDir temp;
    const QString plain = temp.filePath(QStringLiteral("data"));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    DataHome home(plain);
    FormHarness h{QString()};
    QLabel* status = recordStatus(h);
    ASSERT_NE(status, nullptr);

    h.form->receiveBytes(QByteArray::fromHex("E5"));
    ASSERT_TRUE(waitFor([&] { return status->isVisible(); }));
    EXPECT_EQ(status->accessibleName(), QStringLiteral("Session record: cannot write: %1 is not a folder").arg(plain));
    EXPECT_EQ(h.c().RichTextBox2->text(), QStringLiteral("E5 ")) << "the window goes on";
    EXPECT_EQ(h.form->receivedPane().openRecordsFolder(),
              QStringLiteral("There is no folder for session records: %1 is not a folder").arg(plain));

    h.form->receiveBytes(QByteArray::fromHex("E5"));
    QTest::qWait(50);
    EXPECT_TRUE(status->accessibleName().contains(QStringLiteral("cannot write"))) << "said once, not again";

    ASSERT_TRUE(QFile::remove(plain));
    // The record tries again at most once a second, when there is something to write.
    ASSERT_TRUE(waitFor(
        [&] {
            h.form->receiveBytes(QByteArray::fromHex("E5"));
            return status->accessibleName().contains(QStringLiteral("resumed"));
        },
        5000));
    EXPECT_TRUE(status->accessibleName().startsWith(QStringLiteral("Session record: writing resumed (")))
        << status->accessibleName().toStdString();
    EXPECT_TRUE(QDir(plain + QStringLiteral("/MeterBench/logs")).exists());
}

}  // namespace
