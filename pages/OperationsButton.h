// The one "Operations…" button a protocol page carries for its commissioning
// operations: a menu of entries, each running the page's handler.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "widgets/LayoutControls.h"

class QToolButton;
class QWidget;

struct Operation {
    QString caption;  // "Close valve…": a trailing ellipsis where it asks first
    std::function<void()> run;
    // A submenu instead of `run`: its actions are named `name.index.subindex`.
    std::vector<Operation> children = {};
};

// Made inside `panel` at `r`; objectName `name`, accessible name the caption,
// accessible description the objectName. Each menu action's objectName is
// `name` + "." + its index, so a test can trigger it.
QToolButton* makeOperationsButton(QWidget* panel, const QString& name, layout::Rect r,
                                  std::vector<Operation> operations);
