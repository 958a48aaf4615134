// Controls made at their layout positions (twips) the way every part of the
// window makes them: objectName and accessible description are the layout
// name, the accessible name is the caption or label the user reads.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "widgets/Indicator.h"
#include "widgets/TextPane.h"

namespace layout {

struct Rect {
    int left, top, width, height;  // twips
};

// Name, caption and description as assistive technology reads them.
void identify(QWidget* w, const QString& name, const QString& accessibleName);
void place(QWidget* w, Rect r);

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, Rect r);
// A sunken panel that holds one protocol page.
QWidget* makePagePanel(QWidget* parent, const QString& name, Rect r);
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, Rect r,
                  const QFont& font);
QComboBox* makeCombo(QWidget* parent, const QString& name, const QString& label, Rect r,
                     const QFont& font, const QStringList& items, const QString& text);
// makeCombo for a combo box the caller made (a subclass).
void setUpCombo(QComboBox* combo, const QString& name, const QString& label, Rect r,
                const QFont& font, const QStringList& items, const QString& text);
QLineEdit* makeField(QWidget* parent, const QString& name, const QString& label, Rect r,
                     int maxLength, const QString& text);
TextPane* makePane(QWidget* parent, const QString& name, const QString& label, Rect r);
// Names, font and place of a pane made elsewhere (a TextPane subclass).
void setUpPane(TextPane* pane, const QString& name, const QString& label, Rect r);
Indicator* makeIndicator(QWidget* parent, const QString& name, const QString& label, Rect r,
                         QColor color);
// The label boxes were drawn for narrower fonts than the ones installed here,
// and some reach into the control beside them. Once the window is built, each
// label of `window` ends where the nearest control to its right on its rows
// begins, and its text takes a smaller size of the same font when it would not
// fit; its place and height stay.
void fitLabels(QWidget* window);

// The light grey of the window and of its combo boxes.
QColor lightGrey();
void paintGreyBoxes(QWidget* w);

}  // namespace layout
