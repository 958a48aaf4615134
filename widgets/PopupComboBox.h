// A combo box that says when its list is about to open, so that its owner can
// bring the entries up to date first.
#pragma once

#include <QComboBox>

class PopupComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;

    void showPopup() override {
        emit aboutToShowPopup();
        QComboBox::showPopup();
    }

  signals:
    void aboutToShowPopup();
};
