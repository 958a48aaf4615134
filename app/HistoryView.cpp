#include "app/HistoryView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSaveFile>
#include <algorithm>

#include "app/HistoryModel.h"
#include "app/RecordHistory.h"
#include "app/SessionLog.h"

HistoryView::HistoryView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("ReadingHistory"));
    setAccessibleName(QStringLiteral("Reading History"));
    setAccessibleDescription(QStringLiteral("ReadingHistory"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(true);
    // Rows of one height let the view lay out 100,000 rows without measuring them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(86);

    menu_ = new QMenu(this);
    const auto add = [this](const QString& text, const char* name, auto handler) {
        QAction* action = menu_->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add(tr("Copy"), "copyHistoryAction", [this] { copy(); });
    add(tr("Save as CSV…"), "saveCsvAction", [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Save as CSV"), QStringLiteral("history.csv"),
                                                          tr("CSV (*.csv)"));
        if (path.isEmpty()) return;
        if (const QString error = saveCsv(path); !error.isEmpty()) emit notice(tr("Save as CSV"), error);
    });
    add(tr("Clear"), "clearHistoryAction", [this] {
        if (history_) history_->clear();
    });
    menu_->addSeparator();
    add(tr("Open session record…"), "openRecordAction", [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Open session record"), SessionLog::directory(),
                                                          tr("Session records (*.jsonl)"));
        if (path.isEmpty()) return;
        if (const QString error = openRecord(path); !error.isEmpty())
            emit notice(tr("Open session record"), error);
    });
    menu_->addSeparator();
    columnsMenu_ = menu_->addMenu(tr("Columns"));
    columnsMenu_->setObjectName(QStringLiteral("historyColumnsMenu"));
    connect(columnsMenu_, &QMenu::aboutToShow, this, &HistoryView::fillColumnsMenu);
}

void HistoryView::setHistory(HistoryModel* model) {
    if (history_) disconnect(history_, nullptr, this, nullptr);
    history_ = model;
    setModel(model);
    horizontalHeader()->resizeSection(0, fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000")) + 14);
    // New rows come at the bottom: the view follows them unless the user scrolled up.
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        QScrollBar* bar = verticalScrollBar();
        followNew_ = bar->value() >= bar->maximum();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (followNew_) scrollToBottom();
    });
    scrollToBottom();
}

void HistoryView::fillColumnsMenu() {
    columnsMenu_->clear();
    if (!history_) return;
    const auto& columns = history_->table().columns();
    const auto& shown = history_->shownQuantities();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        QString text = QString::fromStdString(columns[i].quantity);
        if (!columns[i].unit.empty()) text += QStringLiteral(" [") + QString::fromStdString(columns[i].unit) + ']';
        QAction* action = columnsMenu_->addAction(text);
        action->setCheckable(true);
        action->setChecked(std::find(shown.begin(), shown.end(), i) != shown.end());
        connect(action, &QAction::toggled, this, [this, i](bool on) { history_->setQuantityShown(i, on); });
    }
}

QString HistoryView::selectionCsv() const {
    if (!history_) return {};
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return QString::fromStdString(rows.empty() ? history_->csv() : history_->csv(rows));
}

void HistoryView::copy() const { QApplication::clipboard()->setText(selectionCsv()); }

QString HistoryView::saveCsv(const QString& path) const {
    if (!history_) return tr("No history to save");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    const std::string csv = history_->csv();
    file.write(csv.data(), static_cast<qint64>(csv.size()));
    if (!file.commit()) return file.errorString();
    return {};
}

QString HistoryView::openRecord(const QString& path) {
    if (!history_) return tr("No history to open into");
    // A day's record (about 150 MB) takes a couple of seconds to read.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    QString error;
    std::vector<mb::HistoryRow> rows = readRecordHistory(path, history_->table(), history_->protocol(), &error);
    if (!error.isEmpty()) return error;
    history_->replaceRows(std::move(rows));
    return {};
}

void HistoryView::contextMenuEvent(QContextMenuEvent* event) { menu_->popup(event->globalPos()); }
