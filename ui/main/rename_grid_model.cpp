#include "main/rename_grid_model.h"

#include "rename_list.h"

namespace velmorandi {

namespace {

QString fromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

RenameGridModel::RenameGridModel(const RenameList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

int RenameGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

int RenameGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RenameGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    const RenameRow file = m_list.row(row);
    switch (index.column()) {
    case Serial:
        return fromBytes(serialText(row));
    case Original:
        return fromBytes(file.listedName());
    case Edited:
        return fromBytes(file.editedName());
    case Status:
        return fromBytes(statusText(file.status()));
    default:
        return {};
    }
}

QVariant RenameGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Serial:
        return QStringLiteral("S#");
    case Original:
        return QStringLiteral("Original filename");
    case Edited:
        return QStringLiteral("Edited filename");
    case Status:
        return QStringLiteral("Status");
    default:
        return {};
    }
}

void RenameGridModel::rowsRecomposed() {
    if (m_list.empty())
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::DisplayRole});
}

} // namespace velmorandi
