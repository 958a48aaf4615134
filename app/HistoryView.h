// "Reading History": the table of the shown page's finished exchanges. Its
// context menu copies the selected rows (or all) as CSV, saves the history as
// CSV, clears it, opens a session record into it, and chooses the quantity
// columns.
#pragma once

#include <QTableView>
#include <functional>

class HistoryModel;
class QMenu;

class HistoryView : public QTableView {
    Q_OBJECT
  public:
    explicit HistoryView(QWidget* parent = nullptr);

    void setHistory(HistoryModel* model);
    HistoryModel* history() const { return history_; }

    // The selected rows as CSV, all rows when none is selected.
    QString selectionCsv() const;
    void copy() const;
    // Writes the whole history as CSV; returns why it failed, empty on success.
    QString saveCsv(const QString& path) const;
    // Reads a session record's exchanges of this page's protocol into the
    // history, replacing its rows; returns why it failed, empty on success.
    QString openRecord(const QString& path);

    // The menu with its actions (objectNames copyHistoryAction, saveCsvAction,
    // clearHistoryAction, openRecordAction) and the Columns submenu.
    QMenu* contextMenu() const { return menu_; }

  signals:
    void notice(const QString& title, const QString& text);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void fillColumnsMenu();

    HistoryModel* history_ = nullptr;
    QMenu* menu_ = nullptr;
    QMenu* columnsMenu_ = nullptr;
    bool followNew_ = true;
};
