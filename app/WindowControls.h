// Every control of the main window, by its layout name. Built once by
// buildWindowControls (non-button controls) and createWindowButtons (buttons).
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QString>

#include "app/Indicator.h"
#include "app/TextPane.h"

class Bevelo;

struct WindowControls {
    // Containers.
    QGroupBox* Frame3 = nullptr;   // logo
    QGroupBox* setpage = nullptr;  // serial settings
    QGroupBox* Frame5 = nullptr;   // product information
    QGroupBox* Frame4 = nullptr;   // Help, EXIT
    QGroupBox* mainpage = nullptr;
    QWidget* CJ188 = nullptr;
    QWidget* EN1434 = nullptr;
    QGroupBox* Frame6 = nullptr;  // CJ188 continuous reading
    QGroupBox* Frame7 = nullptr;  // EN1434 continuous reading
    QGroupBox* Frame1 = nullptr;  // CJ188 transmitted data
    QGroupBox* Frame8 = nullptr;  // EN1434 transmitted data
    QGroupBox* Frame9 = nullptr;  // received data
    QGroupBox* Frame2 = nullptr;  // data analysis
    QLabel* Image1 = nullptr;

    // Serial settings.
    QComboBox* Combo1 = nullptr;  // port
    QComboBox* Combo2 = nullptr;  // baud
    QComboBox* Combo3 = nullptr;  // parity
    QComboBox* Combo4 = nullptr;  // data bits
    QComboBox* Combo5 = nullptr;  // stop bits
    Indicator* Shape1 = nullptr;  // state lamp
    Indicator* Shape2 = nullptr;  // TX
    Indicator* Shape3 = nullptr;  // RX

    // CJ188 page.
    QLineEdit* Text1 = nullptr;   // device id
    QLineEdit* Text3 = nullptr;   // vendor code, first pair
    QLineEdit* Text2 = nullptr;   // vendor code, second pair
    QComboBox* Combo7 = nullptr;  // meter type
    QLineEdit* Text4 = nullptr;   // interval, seconds
    TextPane* RichTextBox1 = nullptr;

    // EN1434 page.
    QLineEdit* Text6 = nullptr;  // device id (hex)
    QLineEdit* Text7 = nullptr;  // new id (hex)
    QLineEdit* Text5 = nullptr;  // interval, seconds
    TextPane* RichTextBox4 = nullptr;

    // Shared panes.
    TextPane* RichTextBox2 = nullptr;  // received data
    TextPane* RichTextBox3 = nullptr;  // data analysis

    // Every container by layout name (the button layout names its container).
    QMap<QString, QWidget*> containers;
    // Every button by layout name.
    QMap<QString, Bevelo*> buttons;
    Bevelo* button(const QString& name) const { return buttons.value(name); }
};

// Builds every control except the buttons inside `form` at its layout position.
void buildWindowControls(QWidget* form, WindowControls& c);
