// The Bevelo button's own tooltip window: rectangle or balloon, optional title
// with an icon, optional colours. It shows itself after the platform's hover
// delay while the pointer stays over its owner and goes away with the object.
#pragma once

#include <QString>
#include <QWidget>

#include "widgets/BeveloFields.h"

struct BeveloToolTipLook {
    QString text;
    QString title;
    int icon = 0;          // 0 none, 1 information, 2 warning, 3 error
    int type = 1;          // 0 rectangle, 1 balloon
    OleColor backColor = 0;  // 0 keeps the system colour
    OleColor foreColor = 0;  // 0 keeps the system colour
};

class BeveloToolTip : public QWidget {
    Q_OBJECT
public:
    BeveloToolTip(QWidget* owner, const BeveloToolTipLook& look);
    const BeveloToolTipLook& look() const { return m_look; }

private:
    QWidget* m_owner;
    BeveloToolTipLook m_look;
};
