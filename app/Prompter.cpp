#include "app/Prompter.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

void MessageBoxPrompter::critical(QWidget* parent, const QString& title, const QString& text,
                                  const QString& informativeText) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setInformativeText(informativeText);
    box.exec();
}

void MessageBoxPrompter::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

bool MessageBoxPrompter::confirm(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> MessageBoxPrompter::askText(QWidget* parent, const QString& title,
                                                   const QString& label, const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text.trimmed();
}
