#include "app/ReplyPaneMenus.h"

#include <QAction>
#include <QMenu>

#include "app/ReplyTimeoutDialog.h"
#include "app/ReplyTimeoutSetting.h"
#include "app/SessionRecordsFolder.h"
#include "app/WindowLayout.h"
#include "widgets/ReceivedPane.h"

void extendReplyPaneMenus(const WindowFrames& frames, ReplyTimeoutSetting& replyTimeout) {
    frames.receivedPane->setRecordsFolder(&sessionRecordsFolder);

    TextPane* analysis = frames.analysisPane;
    QMenu* menu = analysis->contextMenu();
    menu->addSeparator();
    QAction* timeout = menu->addAction(QObject::tr("Reply timeout…"));
    timeout->setObjectName(QStringLiteral("replyTimeoutAction"));
    QObject::connect(timeout, &QAction::triggered, analysis, [analysis, &replyTimeout] {
        if (const auto choice = askReplyTimeout(analysis->window(), replyTimeout.seconds()))
            replyTimeout.set(choice->seconds);
    });
}
