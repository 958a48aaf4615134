// Asks the user for the reply timeout: seconds from 0.1 to 60, or "Default"
// (the lowest entry of the box).
#pragma once

#include <optional>

class QWidget;

struct ReplyTimeoutChoice {
    std::optional<double> seconds;  // nullopt: the default
};

// nullopt when the user cancels.
std::optional<ReplyTimeoutChoice> askReplyTimeout(QWidget* parent, std::optional<double> current);
