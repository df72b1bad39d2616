#include "words/grid_words.h"

#include <QCoreApplication>
#include <QStringList>

namespace velmorandi::words {

namespace {

class Grid {
    Q_DECLARE_TR_FUNCTIONS(Grid)
};

QString nameReason(const NameCheck& name) {
    switch (name.fault) {
    case NameFault::Empty:
        return Grid::tr("The edited filename is empty.");
    case NameFault::LeadingDot:
        return Grid::tr("The edited filename begins with a dot.");
    case NameFault::ReservedDevice:
        return Grid::tr("The system keeps the name %1 for a device, with or without an "
                        "extension.")
            .arg(QString::fromStdString(name.device));
    case NameFault::EndsInDot:
        return Grid::tr("The edited filename ends in a dot, which the system does not allow.");
    case NameFault::EndsInSpace:
        return Grid::tr("The edited filename ends in a space, which the system does not allow.");
    case NameFault::ForbiddenCharacter:
        return Grid::tr("The edited filename holds %1, which the system does not allow in a "
                        "filename.")
            .arg(characterName(static_cast<unsigned char>(name.character)));
    case NameFault::TooLong:
        return Grid::tr("The edited filename is too long for this drive.");
    case NameFault::None:
        break;
    }
    // Not reached while every change of a name clears the marks.
    return Grid::tr("The system does not allow this filename.");
}

QString rowReason(const RowReason& reason) {
    switch (reason.fault) {
    case RowFault::Duplicate:
        return Grid::tr("Row %L1 has the same edited filename.")
            .arg(static_cast<qulonglong>(reason.sameAs) + 1);
    case RowFault::TakenOnDisk:
        return Grid::tr("Another file or folder in this folder already has this name.");
    case RowFault::Gone:
        return Grid::tr("This file is no longer in the folder.");
    default:
        return nameReason(reason.name);
    }
}

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

QString characterName(char32_t character) {
    if (character < 0x20 || (character >= 0x7F && character < 0xA0))
        return Grid::tr("the control character U+%1")
            .arg(QString::number(static_cast<uint>(character), 16)
                     .rightJustified(4, QLatin1Char('0'))
                     .toUpper());
    return Grid::tr("\"%1\"").arg(QString::fromUcs4(&character, 1));
}

QString rowReasons(const std::vector<RowReason>& reasons) {
    QStringList lines;
    for (const RowReason& reason : reasons)
        lines << rowReason(reason);
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
    case EditKind::ByHand:
        return Grid::tr("Typed Name");
    case EditKind::LeaveOut:
        return Grid::tr("Leave Out");
    case EditKind::PutBack:
        return Grid::tr("Put Back");
    case EditKind::Order:
        return Grid::tr("Order");
    case EditKind::Reset:
        break;
    }
    return Grid::tr("Reset");
}

QString leftOutRow() {
    return Grid::tr("Left out of the rename: this file keeps its name.");
}

QString leaveOutCommand() {
    return Grid::tr("Leave out");
}

QString putBackCommand() {
    return Grid::tr("Put back");
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
