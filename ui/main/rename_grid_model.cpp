#include "main/rename_grid_model.h"

#include "words/grid_words.h"
#include "words/order_words.h"

#include "refusal_marks.h"
#include "rename_list.h"

#include <algorithm>
#include <numeric>

namespace velmorandi {

namespace {

QString fromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

RenameGridModel::RenameGridModel(const RenameList& list, QObject* parent)
    : RenameGridModel(list, nullptr, parent) {}

RenameGridModel::RenameGridModel(const RenameList& list, const RefusalMarks* marks, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_marks(marks) {}

int RenameGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

int RenameGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RenameGridModel::data(const QModelIndex& index, int role) const {
    if ((role == Qt::EditRole || role == kBaseLengthRole) && index.column() == Edited &&
        checkIndex(index, CheckIndexOption::IndexIsValid)) {
        const RenameRow file = m_list.row(static_cast<std::size_t>(index.row()));
        if (role == kBaseLengthRole)
            return fromBytes(file.editedBase()).size();
        return fromBytes(file.editedName());
    }
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole &&
         role != Qt::AccessibleDescriptionRole && role != RefusedRole && role != LeftOutRole) ||
        !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    const RenameRow file = m_list.row(row);
    const bool marked = index.column() == Edited && isMarked(row);
    if (role == RefusedRole)
        return marked;
    if (role == LeftOutRole)
        return file.leftOut();
    if (role == Qt::ToolTipRole)
        return toolTip(row, index.column());
    if (role == Qt::AccessibleDescriptionRole)
        return description(row, marked);
    switch (index.column()) {
    case Serial:
        return fromBytes(serialText(row));
    case Original:
        return fromBytes(file.listedName());
    case Edited:
        return fromBytes(file.editedName());
    case Status:
        return words::statusText(file.status());
    default:
        return {};
    }
}

// A screen reader tells why a row was refused, or that it is left out, on
// whichever of its cells it stands, and at a marked name why Rename would refuse it.
QVariant RenameGridModel::description(std::size_t row, bool marked) const {
    if (m_list.row(row).leftOut())
        return words::leftOutRow();
    return marked ? QVariant(markReason(row)) : reason(row);
}

// The whole name, however narrow its column; the reason beside "Err!"; and
// that a row is left out.
QVariant RenameGridModel::toolTip(std::size_t row, int column) const {
    const RenameRow file = m_list.row(row);
    switch (column) {
    case Original:
        return fromBytes(file.listedName());
    case Edited:
        if (file.leftOut())
            return fromBytes(file.editedName()) + QLatin1Char('\n') + words::leftOutRow();
        if (isMarked(row))
            return fromBytes(file.editedName()) + QLatin1Char('\n') + markReason(row);
        return fromBytes(file.editedName());
    case Status:
        return file.leftOut() ? QVariant(words::leftOutRow()) : reason(row);
    default:
        return {};
    }
}

bool RenameGridModel::isMarked(std::size_t row) const {
    // Marks of another list (a load under way) would point at the wrong rows.
    return m_marks != nullptr && m_marks->rows() == m_list.size() &&
           m_marks->faultsOf(row) != RowFault::None;
}

QString RenameGridModel::markReason(std::size_t row) const {
    return words::rowReasons(m_marks->reasonsOf(m_list, row));
}

QVariant RenameGridModel::reason(std::size_t row) const {
    const RenameRow file = m_list.row(row);
    if (file.status() == RowStatus::Error && file.faults() != RowFault::None)
        return words::rowReasons(m_list.reasonsOf(row));
    return {};
}

QString RenameGridModel::reasonOfRow(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    return reason(static_cast<std::size_t>(row)).toString();
}

QVariant RenameGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section == Original &&
        m_list.order() != RowOrder{})
        return words::orderShown(m_list.order());
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Serial:
        return tr("S#");
    case Original:
        return tr("Original filename");
    case Edited:
        return tr("Edited filename");
    case Status:
        return tr("Status");
    default:
        return {};
    }
}

Qt::ItemFlags RenameGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() != Edited || !m_typed || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return flags;
    const RenameRow file = m_list.row(static_cast<std::size_t>(index.row()));
    const std::string_view edited = file.editedName();
    if (!file.leftOut() &&
        fromBytes(edited).toUtf8() == QByteArrayView(edited.data(), qsizetype(edited.size())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool RenameGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !m_typed || !(flags(index) & Qt::ItemIsEditable))
        return false;
    return m_typed(static_cast<std::size_t>(index.row()), value.toString());
}

void RenameGridModel::rowsRecomposed() {
    if (m_list.empty())
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                     {Qt::DisplayRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole, RefusedRole,
                      LeftOutRole});
}

std::vector<int> RenameGridModel::longestRows(int column, std::size_t count) const {
    if (column != Original && column != Edited)
        return {};
    const auto length = [this, column](int row) {
        const RenameRow file = m_list.row(static_cast<std::size_t>(row));
        return column == Original ? file.listedName().size() : file.editedName().size();
    };
    std::vector<int> rows(m_list.size());
    std::iota(rows.begin(), rows.end(), 0);
    if (rows.size() <= count)
        return rows;
    std::nth_element(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(count), rows.end(),
                     [&](int a, int b) { return length(a) > length(b); });
    rows.resize(count);
    return rows;
}

std::optional<int> RenameGridModel::rowListedAs(std::string_view name) const {
    for (std::size_t row = 0; row < m_list.size(); ++row)
        if (m_list.row(row).listedName() == name)
            return static_cast<int>(row);
    return std::nullopt;
}

} // namespace velmorandi
