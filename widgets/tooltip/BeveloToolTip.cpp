#include "widgets/tooltip/BeveloToolTip.h"

BeveloToolTip::BeveloToolTip(QWidget* owner, const BeveloToolTipLook& look)
    : QWidget(nullptr, Qt::ToolTip), m_owner(owner), m_look(look) {}
