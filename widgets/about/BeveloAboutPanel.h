// The About panel of a Bevelo button: a small top-level window with the
// control's name, version, author and link, hidden again by a click.
#pragma once

#include <QWidget>

class BeveloAboutPanel : public QWidget {
    Q_OBJECT
public:
    explicit BeveloAboutPanel(QWidget* control);
    // Detaches the panel from the control, titles it and shows it on top.
    void showPanel();
};
