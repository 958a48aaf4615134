// One page's reading history as a table model: the columns time, verdict,
// reply time and the quantities the user chose (the protocol's defaults at
// first). Rows beyond the table's capacity drop the oldest (HistoryTable).
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/HistoryTable.h"

class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit HistoryModel(const QString& protocol, QObject* parent = nullptr,
                          std::size_t capacity = mb::kHistoryCapacity);

    void append(const mb::ExchangeResult& result, std::chrono::system_clock::time_point time);
    void append(mb::HistoryRow row);
    void clear();
    // Replaces the rows (a session record read back); the chosen columns stay.
    void replaceRows(std::vector<mb::HistoryRow> rows);

    const mb::HistoryTable& table() const { return table_; }
    mb::HistoryTable& table() { return table_; }
    // Indexes into table().columns() of the quantity columns shown, in order.
    const std::vector<std::size_t>& shownQuantities() const { return shown_; }
    void setQuantityShown(std::size_t column, bool shown);
    const QString& protocol() const { return protocol_; }

    // The whole history, or the given rows, as CSV (core/HistoryCsv.h).
    std::string csv() const;
    std::string csv(const std::vector<int>& rows) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int kFixedColumns = 3;  // time, verdict, reply time

  signals:
    // The table gained columns (a quantity seen for the first time).
    void quantitiesChanged();

  private:
    void insertRow(mb::HistoryRow row);

    QString protocol_;
    mb::HistoryTable table_;
    std::vector<std::size_t> shown_;
};
