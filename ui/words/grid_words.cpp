#include "words/grid_words.h"

#include <QCoreApplication>
#include <QStringList>

#include <utility>

namespace velmorandi::words {

namespace {

class Grid {
    Q_DECLARE_TR_FUNCTIONS(Grid)
};

} // namespace

QString statusText(RowStatus status) {
    switch (status) {
    case RowStatus::Error:
        return Grid::tr("Err!");
    case RowStatus::Done:
        return Grid::tr("Done");
    case RowStatus::None:
        break;
    }
    return {};
}

QString faultReasons(RowFaults faults) {
    static const std::pair<RowFaults, const char*> reasons[] = {
        {RowFault::Duplicate,
         QT_TRANSLATE_NOOP("Grid", "Another row has the same edited filename.")},
        {RowFault::Blank, QT_TRANSLATE_NOOP("Grid", "The edited filename is empty.")},
        {RowFault::LeadingDot, QT_TRANSLATE_NOOP("Grid", "The edited filename begins with a dot.")},
        {RowFault::NotAllowed,
         QT_TRANSLATE_NOOP("Grid", "The system does not allow this filename.")},
        {RowFault::TooLong,
         QT_TRANSLATE_NOOP("Grid", "The edited filename is too long for this drive.")},
        {RowFault::TakenOnDisk,
         QT_TRANSLATE_NOOP("Grid", "Another file or folder in this folder already has this name.")},
        {RowFault::Gone, QT_TRANSLATE_NOOP("Grid", "This file is no longer in the folder.")}};
    QStringList lines;
    for (const auto& [fault, reason] : reasons)
        if ((faults & fault) != 0)
            lines << Grid::tr(reason);
    return lines.join(QLatin1Char('\n'));
}

QString editName(EditKind edit) {
    switch (edit) {
    case EditKind::FindAndReplace:
        return Grid::tr("Find & Replace");
    case EditKind::ChangeCase:
        return Grid::tr("Change Case");
    case EditKind::AddString:
        return Grid::tr("Add String");
    case EditKind::Serialize:
        return Grid::tr("Serial");
    case EditKind::Trim:
        return Grid::tr("Trim");
    case EditKind::Blank:
        return Grid::tr("Blank");
    case EditKind::Reset:
        break;
    }
    return Grid::tr("Reset");
}

QString historyOffer(const HistoryOffer& offer, bool undo) {
    switch (offer.kind) {
    case HistoryOffer::Kind::Edit:
        return (undo ? Grid::tr("Undo %1") : Grid::tr("Redo %1")).arg(editName(offer.edit));
    case HistoryOffer::Kind::RenameOnDisk:
        return undo ? Grid::tr("Undo last rename") : Grid::tr("Redo last rename");
    case HistoryOffer::Kind::Nothing:
        break;
    }
    return undo ? Grid::tr("Undo") : Grid::tr("Redo");
}

} // namespace velmorandi::words
