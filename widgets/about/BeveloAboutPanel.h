// The About panel of a Bevelo button: a small top-level window with the
// control's name, version, author and link, hidden again by a click.
#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>

class BeveloAboutPanel : public QWidget {
    Q_OBJECT
  public:
    explicit BeveloAboutPanel(QWidget* control);
    // Detaches the panel from the control, titles it and shows it on top.
    void showPanel();

    // The lines painted on the panel, top to bottom.
    static QStringList lines();
    QRect closeButtonRect() const;
    bool isClosePressed() const { return m_closePressed; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool m_closeArmed = false;    // the press began on the Close button
    bool m_closePressed = false;  // ...and the pointer is still on it
};
