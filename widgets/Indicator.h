// A small filled round lamp (the state, TX and RX indicators).
#pragma once

#include <QColor>
#include <QWidget>

class Indicator : public QWidget {
    Q_OBJECT
  public:
    explicit Indicator(QWidget* parent = nullptr, QColor color = Qt::black);
    void setColor(QColor color);
    QColor color() const { return color_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
};

// A layout colour: 32-bit value with red in the low byte.
inline QColor layoutColor(unsigned value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
