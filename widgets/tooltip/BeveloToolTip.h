// The Bevelo button's own tooltip window: rectangle or balloon, optional title
// with an icon, optional colours. It shows itself after the platform's hover
// delay while the pointer stays over its owner and goes away with the object.
#pragma once

#include <QColor>
#include <QPointer>
#include <QPolygon>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "widgets/BeveloFields.h"

struct BeveloToolTipLook {
    QString text;
    QString title;
    int icon = 0;            // 0 none, 1 information, 2 warning, 3 error
    int type = 1;            // 0 rectangle, 1 balloon
    OleColor backColor = 0;  // 0 keeps the system colour
    OleColor foreColor = 0;  // 0 keeps the system colour
};

class BeveloToolTip : public QWidget {
    Q_OBJECT
  public:
    // Built while the pointer is over `owner` (on its mouse entry); the window
    // appears once the hover delay has run out. It is a child object of the
    // owner, so it never outlives it.
    BeveloToolTip(QWidget* owner, const BeveloToolTipLook& look);
    const BeveloToolTipLook& look() const { return m_look; }

    bool isBalloon() const { return m_look.type == 1; }
    // A title row is drawn when the title is not empty or an icon is asked for.
    bool hasTitleRow() const { return !m_look.title.isEmpty() || m_look.icon != 0; }
    // Standard icon drawn in the title row: 1..3 map to information, warning,
    // error; anything else draws none.
    bool hasTitleIcon() const { return m_look.icon >= 1 && m_look.icon <= 3; }
    QColor backgroundColor() const { return m_back; }
    QColor textColor() const { return m_fore; }
    // Outline of the window in its own coordinates (also its mask for a balloon).
    const QPolygon& outline() const { return m_outline; }
    // The stem's point in global coordinates (balloon only).
    QPoint stemTipGlobal() const { return m_stemTipGlobal; }
    // Position the tip and show it now, skipping the hover delay. Without text
    // there is nothing to show and the window stays hidden.
    void popUp();
    int wakeUpDelay() const { return m_wakeTimer.interval(); }

    // Colour of a stored value: RGB with red in the low byte, or a system
    // colour reference (0x80000000 + index) looked up in `palette`.
    static QColor colorFromOle(OleColor value, const QPalette& palette);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void layOut();
    QRect screenAreaFor(QPoint globalPoint) const;

    QPointer<QWidget> m_owner;
    BeveloToolTipLook m_look;
    QColor m_back;
    QColor m_fore;
    QTimer m_wakeTimer;
    bool m_pointerInside = true;
    bool m_stemAtTop = true;
    int m_stemX = 0;
    QPoint m_stemTipGlobal;
    QPolygon m_outline;
    QRect m_bodyRect;  // the rectangle part of the window (without the stem)
    QRect m_titleRect;
    QRect m_iconRect;
    QRect m_textRect;
};
