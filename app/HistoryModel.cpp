#include "app/HistoryModel.h"

#include <QDateTime>
#include <algorithm>

#include "core/HistoryCsv.h"

namespace {

// "4711000", not "4.711e+06": a meter's counter is read to its last digit.
QString number(double value) { return QString::number(value, 'g', 15); }

}  // namespace

HistoryModel::HistoryModel(const QString& protocol, QObject* parent, std::size_t capacity)
    : QAbstractTableModel(parent), protocol_(protocol), table_(protocol.toStdString(), capacity) {
    for (std::size_t i = 0; i < table_.columns().size(); ++i) shown_.push_back(i);
}

void HistoryModel::append(const mb::ExchangeResult& result, std::chrono::system_clock::time_point time) {
    const std::size_t columns = table_.columns().size();
    mb::HistoryRow row = table_.rowFor(result, time);
    if (table_.columns().size() != columns) emit quantitiesChanged();
    insertRow(std::move(row));
}

void HistoryModel::append(mb::HistoryRow row) { insertRow(std::move(row)); }

void HistoryModel::insertRow(mb::HistoryRow row) {
    // At capacity the oldest row goes first, so views see a remove, then an insert.
    if (table_.rows().size() >= table_.capacity()) {
        beginRemoveRows({}, 0, 0);
        table_.dropOldest();
        endRemoveRows();
    }
    const int at = rowCount();
    beginInsertRows({}, at, at);
    table_.append(std::move(row));
    endInsertRows();
}

void HistoryModel::clear() {
    beginResetModel();
    table_.clear();
    endResetModel();
}

void HistoryModel::replaceRows(std::vector<mb::HistoryRow> rows) {
    beginResetModel();
    table_.clear();
    for (mb::HistoryRow& row : rows) table_.append(std::move(row));
    endResetModel();
}

void HistoryModel::setQuantityShown(std::size_t column, bool shown) {
    const auto at = std::find(shown_.begin(), shown_.end(), column);
    if (shown == (at != shown_.end()) || column >= table_.columns().size()) return;
    beginResetModel();
    if (shown)
        shown_.push_back(column);
    else
        shown_.erase(at);
    endResetModel();
}

std::string HistoryModel::csv() const {
    std::string out = mb::historyCsvHeader(table_, shown_);
    for (const mb::HistoryRow& row : table_.rows()) out += mb::historyCsvRow(row, shown_);
    return out;
}

std::string HistoryModel::csv(const std::vector<int>& rows) const {
    std::string out = mb::historyCsvHeader(table_, shown_);
    for (int row : rows) out += mb::historyCsvRow(table_.rows().at(static_cast<std::size_t>(row)), shown_);
    return out;
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows().size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFixedColumns + static_cast<int>(shown_.size());
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) return {};
    const mb::HistoryRow& row = table_.rows().at(static_cast<std::size_t>(index.row()));
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    switch (index.column()) {
        case 0:
            return QDateTime::fromMSecsSinceEpoch(row.timeUs / 1000).toString(QStringLiteral("HH:mm:ss.zzz"));
        case 1: return QString::fromLatin1(mb::verdictName(row.verdict).data());
        case 2: return row.replyUs ? number(static_cast<double>(*row.replyUs) / 1000.0) : QVariant();
    }
    const std::size_t column = shown_.at(static_cast<std::size_t>(index.column() - kFixedColumns));
    if (const std::optional<double> value = row.value(column)) return number(*value);
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    switch (section) {
        case 0: return tr("Time");
        case 1: return tr("Verdict");
        case 2: return tr("Reply [ms]");
    }
    const auto at = static_cast<std::size_t>(section - kFixedColumns);
    if (at >= shown_.size()) return {};
    const mb::HistoryColumn& c = table_.columns().at(shown_[at]);
    const QString quantity = QString::fromStdString(c.quantity);
    return c.unit.empty() ? quantity : quantity + QStringLiteral(" [") + QString::fromStdString(c.unit) + ']';
}
