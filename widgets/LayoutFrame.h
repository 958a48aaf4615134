// A frame of the window: an etched rectangle with its caption set into the
// top line at the left, children placed at fixed positions inside it.
#pragma once

#include <QGroupBox>

class LayoutFrame : public QGroupBox {
    Q_OBJECT
  public:
    LayoutFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};
