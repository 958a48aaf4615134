#include "app/PageOperations.h"

#include <QApplication>
#include <QLineEdit>

#include "app/MainForm.h"

void PageOperations::stopContinuousReading() {
    timer().setEnabled(false);
    QPalette pal = intervalField().palette();
    pal.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    intervalField().setPalette(pal);
}

PageTimer& PageOperations::timer() const {
    return m_page == Page::Cj188 ? m_form.Timer1() : m_form.Timer2();
}

QLineEdit& PageOperations::intervalField() const {
    return *(m_page == Page::Cj188 ? m_form.controls().Text4 : m_form.controls().Text5);
}
