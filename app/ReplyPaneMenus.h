// What the window adds to the reply panes' context menus: the session records
// folder on Received Data, the reply timeout on Data Analysis.
#pragma once

struct WindowFrames;
class ReplyTimeoutSetting;

void extendReplyPaneMenus(const WindowFrames& frames, ReplyTimeoutSetting& replyTimeout);
