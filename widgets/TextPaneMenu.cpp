// The pane's context menu and its shortcuts: Copy, Select All, Save As…, Clear.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>

#include "widgets/TextPane.h"

void TextPane::buildMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("contextMenu"));
    copyAction_ = addMenuAction(tr("Copy"), "copyAction", QKeySequence::Copy);
    connect(copyAction_, &QAction::triggered, this, &TextPane::copy);
    selectAllAction_ = addMenuAction(tr("Select All"), "selectAllAction", QKeySequence::SelectAll);
    connect(selectAllAction_, &QAction::triggered, this, &TextPane::selectAll);
    menu_->addSeparator();
    saveAsAction_ = addMenuAction(tr("Save As…"), "saveAsAction", QKeySequence::SaveAs);
    connect(saveAsAction_, &QAction::triggered, this, &TextPane::saveAsFromDialog);
    clearAction_ = addMenuAction(tr("Clear"), "clearAction", {});
    connect(clearAction_, &QAction::triggered, this, &TextPane::clear);
    connect(this, &TextPane::textChanged, this, &TextPane::refreshActions);
    connect(this, &TextPane::selectionChanged, this, &TextPane::refreshActions);
    refreshActions();
}

// Shortcuts act while the pane has the focus, so two panes never compete for Ctrl+C.
QAction* TextPane::addMenuAction(const QString& text, const char* name, const QKeySequence& keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    menu_->addAction(action);
    return action;
}

void TextPane::refreshActions() {
    copyAction_->setEnabled(hasSelection());
    selectAllAction_->setEnabled(length_ > 0);
    saveAsAction_->setEnabled(length_ > 0);
    clearAction_->setEnabled(length_ > 0);
}

void TextPane::contextMenuEvent(QContextMenuEvent* event) {
    menu_->exec(event->globalPos());
}

void TextPane::copy() const {
    if (!hasSelection()) return;
    if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setText(selectedText());
}

QString TextPane::saveTo(const QString& path) const {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(utf_8) == utf_8.size() && file.commit())
        return {};
    return tr("%1 could not be written: %2")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}

void TextPane::saveAsFromDialog() {
    const QString suggested = QDir::home().filePath(accessibleName() + QStringLiteral(".txt"));
    const QString path = QFileDialog::getSaveFileName(this, tr("Save As"), suggested,
                                                      tr("Text files (*.txt);;All files (*)"));
    if (path.isEmpty()) return;  // cancelled
    const QString problem = saveTo(path);
    if (!problem.isEmpty()) QMessageBox::warning(this, tr("Save As"), problem);
}
