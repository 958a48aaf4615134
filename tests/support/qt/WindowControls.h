// The window's controls as a user's tools find them: by objectName, which is
// the layout name. Tests reach controls only this way, never through the
// window's members, so they check what assistive technology sees.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

#include "widgets/Indicator.h"
#include "widgets/TextPane.h"

// The window's pages in the order it lists them.
enum class Page { Cj188 = 0, En1434 = 1 };

inline std::size_t pageIndex(Page page) {
    return static_cast<std::size_t>(page);
}

struct WindowControls {
    explicit WindowControls(const QWidget* window) : window_(window) {}

    template <typename T>
    T* find(const char* layoutName) const {
        return window_->findChild<T*>(QString::fromLatin1(layoutName));
    }
    const QWidget* window_;
    QWidget* CJ188 = find<QWidget>("CJ188");
    QWidget* EN1434 = find<QWidget>("EN1434");
    QGroupBox* setpage = find<QGroupBox>("setpage");
    QComboBox* Combo1 = find<QComboBox>("Combo1");
    QComboBox* Combo2 = find<QComboBox>("Combo2");
    QComboBox* Combo3 = find<QComboBox>("Combo3");
    QComboBox* Combo4 = find<QComboBox>("Combo4");
    QComboBox* Combo5 = find<QComboBox>("Combo5");
    QComboBox* Combo7 = find<QComboBox>("Combo7");
    Indicator* Shape1 = find<Indicator>("Shape1");
    Indicator* Shape2 = find<Indicator>("Shape2");
    Indicator* Shape3 = find<Indicator>("Shape3");
    QLineEdit* Text1 = find<QLineEdit>("Text1");
    QLineEdit* Text2 = find<QLineEdit>("Text2");
    QLineEdit* Text3 = find<QLineEdit>("Text3");
    QLineEdit* Text4 = find<QLineEdit>("Text4");
    QLineEdit* Text5 = find<QLineEdit>("Text5");
    QLineEdit* Text6 = find<QLineEdit>("Text6");
    QLineEdit* Text7 = find<QLineEdit>("Text7");
    TextPane* RichTextBox1 = find<TextPane>("RichTextBox1");
    TextPane* RichTextBox2 = find<TextPane>("RichTextBox2");
    TextPane* RichTextBox3 = find<TextPane>("RichTextBox3");
    TextPane* RichTextBox4 = find<TextPane>("RichTextBox4");
};
