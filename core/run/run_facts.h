#pragma once

#include "platform/record_files.h"
#include "platform/record_folder.h"
#include "platform/system_error.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What runs and recovery tell the user, as facts: what happened, to which
// names, and the system's error. The window words them.
namespace velmorandi {

// A file that does not bear its listed name: what it bears now.
struct NameNow {
    std::string listed;
    std::string current;
};

// Why a run stopped, or was refused before it touched anything.
struct RunFailure {
    enum class Kind : std::uint8_t {
        None,
        FolderUnreadable, // `folder` could not be read: `error`
        RenameFailed,     // `from` could not be renamed `to`: `error`; held by `holders`
        NameTaken,        // after the check, another entry took `to`, the name a step gives `from`
        RecordUnwritable, // no record could be written to `folder`, the records': `error`
        RecordsUnusable,  // the folder of records cannot be trusted: `problem`
        SyncFailed,       // the renames in `folder` could not be made to last: `error`
        Cancelled,        // on request
        UndoCancelled,    // an undo, on request
        RedoCancelled,    // a redo, on request
        LeftoverNotRemoved, // `from`, a name a step left, could not be removed: `error`
        LeftoverNotProven,  // `from` is no longer what a step left there: kept
        // The record in `folder`, the records', was taken over by another process
        // (another machine, while this one was paused), which puts the run's folder right.
        TakenOver,
        // The record's lease in `folder` could not be renewed in time: the run stopped
        // and left its folder to recovery.
        OwnershipUnconfirmed,
        // `folder` is the one the program runs from: a rename there was refused untouched.
        ProgramFolder,
    };
    Kind kind = Kind::None;
    std::string folder;
    std::string from;
    std::string to;
    SystemError error;
    std::optional<platform::RecordFolderProblem> problem;
    // The programs that hold `from` (UTF-8), where a step failed because it is
    // held and the system names them.
    std::vector<std::string> holders;
};

// What a rename, undo or redo tells the user once it is over.
struct RunNews {
    enum class Kind : std::uint8_t {
        None,
        NamesRefused, // an edited name failed a check: its rows are marked
        NamesTaken,   // an edited name is held by an entry the run does not move
        // Stopped by `failure`; nothing renamed, or every file got its name back.
        NothingRenamed,
        // Stopped by `failure`, and `stillRenamed` bear new names (none known:
        // the folder could not be checked); `rollbackFailure` stopped the rollback.
        NotRestored,
        RenamedButUnmarked, // every file renamed; `failure` kept the record from saying so
        MissingAfterRun,    // `names` are not in the folder after the run
        ReloadFailed,       // renamed, but the folder could not be read again: `error`
        // Stopped by `failure` (TakenOver, OwnershipUnconfirmed): nothing more is
        // done here; the folder is left to the process that holds the record.
        HandedOver,
        Undone,        // `files` have their old names again
        NothingToUndo, // in `folder`
        NothingToRedo, // in `folder`
        RecordInUse,   // another window works on the last run of `folder`
        // An undo (with `redo`, a redo) of the last run in `folder` refused:
        TakeBackFolderReplaced, // the folder is not the one the run was made in
        TakeBackFileGone,       // `name` is gone
        TakeBackFileReplaced,   // `name` is another file than the one that bore `oldName`
        TakeBackNameTaken,      // `oldName` is taken by another entry
    };
    Kind kind = Kind::None;
    RunFailure failure;
    RunFailure rollbackFailure;
    std::vector<NameNow> stillRenamed;
    std::vector<std::string> names;
    std::string folder;
    std::string name;
    std::string oldName;
    bool redo = false;
    std::size_t files = 0;
    SystemError error;
};

// Why a record of a run could not be used.
struct RecordFault {
    enum class Kind : std::uint8_t {
        Refused,     // not opened: `refusal`
        Damaged,     // a part of it does not check
        CutShort,    // it ends before its plan does
        OtherFormat, // an older version of the program wrote it
    };
    Kind kind = Kind::Damaged;
    platform::RecordRefusal refusal = platform::RecordRefusal::None;
};

// One run, or one record, that recovery met.
struct RecoveryNote {
    enum class Kind : std::uint8_t {
        Restored,           // `files` got their old names back (none: the run had not begun)
        RestoredRecordLeft, // the same, but the record at `record` stays: `error`
        // In `here`, maybe a copy of `folder`, `files` got their old names
        // back; the record at `record` waits for `folder` itself.
        RestoredElsewhere,
        // `files` got theirs back, `stillRenamed` could not, `missing` were
        // not found; the record at `record` is kept.
        RestoredInPart,
        FolderAway,     // the folder cannot be reached: `error`
        FolderReplaced, // another folder holds its place: nothing renamed
        Unproven,       // the names do not show how far the run got; record at `record`
        // `name` (a folder with `isFolder`) is not what the run left, and
        // keeps the names from telling; record at `record`.
        LeftForeign,
        // `name`, an empty file or one whose mark is cut short, lies where the
        // run was about to make a placeholder: the run's, or another
        // program's. It is left; `files` got their old names back,
        // `stillRenamed` could not; the record at `record` is kept until the
        // user has it removed (RemoveUnmarkedAndRecover).
        LeftUnmarked,
        NotPutBack,          // `failure` stopped the rollback; `stillRenamed` bear new names
        RecordUnreadable,    // the record at `record` could not be read: `error`
        FinishedButDamaged,  // the run had finished; its damaged record is kept at `record`
        FinishedNotSetAside, // the same, but it could not be set aside from `record`: `error`
        FinishedUnmarked,    // the run had finished; its record at `record` was not marked: `error`
        RunningElsewhere,    // another live process on `host` makes the run
        RecordSetAside,      // unusable (`fault`), kept at `record`; `folder` where it tells
        RecordNotSetAside,   // unusable (`fault`), could not be set aside from `record`: `error`
        NewerFormat,         // a newer version of the program wrote the record at `record`: kept
        UnsealedNotRemoved,  // a record of a run that never began stays at `record`: `error`
    };
    Kind kind = Kind::Restored;
    std::string folder; // as the record names it
    std::string here;   // where it was opened, where that is another place
    std::string record;
    std::size_t files = 0;
    std::vector<NameNow> stillRenamed;
    std::vector<std::string> missing;
    SystemError error;
    RunFailure failure;
    std::string name;
    bool isFolder = false;
    std::string host; // empty: not known
    RecordFault fault;
};

} // namespace velmorandi
