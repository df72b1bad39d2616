#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace velmorandi {

class RefusalMarks;
class RenameList;

// The rename grid's view of the core's rows; reads them on demand, holds no copy.
class RenameGridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Serial, Original, Edited, Status, ColumnCount };
    // Of an edited name: how many of its characters come before the extension.
    static constexpr int kBaseLengthRole = Qt::UserRole;
    // True on an edited name that Rename would refuse.
    static constexpr int RefusedRole = Qt::UserRole + 1;
    // True on every cell of a row left out of the rename.
    static constexpr int LeftOutRole = Qt::UserRole + 2;

    explicit RenameGridModel(const RenameList& list, QObject* parent = nullptr);
    // `marks` follow the list: the rows Rename would refuse, marked in the edited names.
    RenameGridModel(const RenameList& list, const RefusalMarks* marks, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // An edited name can be typed by hand where it reads back as the bytes it
    // is, unless its row is left out.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A typed name goes to `typed`, which takes it into the list or says why not.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    void onNameTyped(std::function<bool(std::size_t row, const QString& name)> typed) {
        m_typed = std::move(typed);
    }

    // Runs change, which may replace every row, inside a model reset.
    template <class Change> auto reload(Change&& change) {
        beginResetModel();
        struct EndReset {
            RenameGridModel* model;
            ~EndReset() { model->endResetModel(); }
        } end{this};
        return std::forward<Change>(change)();
    }
    // Every edited name and status may have changed; the rows stay.
    void rowsRecomposed();

    // The rows whose name in a name column is longest in bytes, at most count
    // of them: where to look for the widest without measuring every row.
    std::vector<int> longestRows(int column, std::size_t count) const;
    // The first row listed under that name.
    std::optional<int> rowListedAs(std::string_view name) const;
    // Why the row reads "Err!", one line per reason; empty when it does not.
    QString reasonOfRow(int row) const;

  private:
    QVariant toolTip(std::size_t row, int column) const;
    QVariant reason(std::size_t row) const;
    QVariant description(std::size_t row, bool marked) const;
    bool isMarked(std::size_t row) const;
    QString markReason(std::size_t row) const;

    const RenameList& m_list;
    std::function<bool(std::size_t row, const QString& name)> m_typed;
    const RefusalMarks* m_marks = nullptr;
};

} // namespace velmorandi
