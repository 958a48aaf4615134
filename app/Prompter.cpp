#include "app/Prompter.h"

#include <QMessageBox>

void MessageBoxPrompter::critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

void MessageBoxPrompter::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}
