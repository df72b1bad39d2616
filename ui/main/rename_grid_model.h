#pragma once

#include <QAbstractTableModel>

#include <utility>

namespace velmorandi {

class RenameList;

// The rename grid's view of the core's rows; reads them on demand, holds no copy.
class RenameGridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Serial, Original, Edited, Status, ColumnCount };

    explicit RenameGridModel(const RenameList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

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

  private:
    const RenameList& m_list;
};

} // namespace velmorandi
