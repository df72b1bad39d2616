#pragma once

#include "edit_history.h"
#include "folder_loader.h"
#include "refusal_marks.h"
#include "rename_list.h"
#include "run/run.h"
#include "transforms/operations.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velmorandi {

// What Ctrl+Z or Ctrl+Y would do now.
struct HistoryOffer {
    enum class Kind { Nothing, Edit, RenameOnDisk };
    Kind kind = Kind::Nothing;
    EditKind edit = EditKind::Blank; // which edit, for Kind::Edit
};

// The window's one folder at a time: its rename list, the history of its
// edits, and whether its last rename on disk can be undone or redone. A
// folder left with edits keeps them for as long as the program runs; opened
// again, its rows get them back, matched by their listed names.
//
// Loading and runs take the same three stages as a run (run/run.h): start or
// prepare on the window's thread, the work on any thread (a worker), finish
// on the window's thread. What the work reads of the session it holds a
// lease of, from start to the work's end: a change meanwhile ends the program.
class FolderSession {
  public:
    FolderSession();
    ~FolderSession();
    FolderSession(const FolderSession&) = delete;
    FolderSession& operator=(const FolderSession&) = delete;

    const RenameList& list() const { return m_now.list; }
    // The rows Rename would refuse, checked again after every change of a name.
    const RefusalMarks& marks() const { return m_marks; }
    const std::string& folder() const { return m_folder; } // empty until a folder is loaded
    // The folder is the one the program runs from, where nothing is renamed.
    bool programFolder() const { return m_programFolder; }

    struct Edits {
        RenameList list;
        EditHistory history;
    };

    // Loading -------------------------------------------------------------
    struct Loaded {
        std::string folder;
        Edits edits;
        LoadOutcome outcome;
        FolderNames beside;
        RefusalMarks marks;
        RecoveryReport recovery;
        bool canUndo = false;
        bool canRedo = false;
        std::unique_ptr<Edits> left; // the folder's kept edits, given back if the load fails
        bool failed() const { return outcome.error.has_value(); }
    };
    // A run that a crash left unfinished in the folder, perhaps before it was
    // moved there, is rolled back before the folder is listed; the folder's
    // kept edits are carried onto the rows listed now.
    class Load {
      public:
        Loaded operator()(const RunControl& control);

      private:
        friend class FolderSession;
        std::string m_folder;
        std::unique_ptr<Edits> m_left;
        // m_left's, or the session's own on a reload; given up as the load ends.
        LentList m_carriedList;
        LentHistory m_carriedHistory;
    };
    Load startLoad(const std::string& folder);
    // What the window shows of a load; on failure nothing else changed.
    struct Opened {
        std::optional<SystemError> error;
        RecoveryReport recovery;
        std::vector<std::string> subfolders;
        bool protectedFileListed = false;
    };
    Opened finishLoad(Loaded loaded);

    // Edits ---------------------------------------------------------------
    // Each returns whether it reached the list (a name by hand may not).
    bool apply(Operation operation, const OperationInputs& inputs);
    bool blank();
    bool reset();
    // A name typed by hand for one row; false when it keeps no extension of the row's.
    bool nameByHand(std::size_t row, const std::string& name);
    // The rows left out of the rename (they keep their names), or put back.
    bool leaveOut(const std::vector<std::size_t>& rows);
    bool putBack(const std::vector<std::size_t>& rows);
    HistoryOffer undoOffer() const;
    HistoryOffer redoOffer() const;
    // Take back or make again one edit; false when there is none.
    bool undoEdit();
    bool redoEdit();

    // Ordering --------------------------------------------------------------
    // The rows in an order, worked out by a worker: the files' sizes and
    // times are read the first time an order needs them.
    struct Ordered {
        RowOrder order;
        std::vector<std::uint32_t> rows;
        std::vector<platform::FileFacts> facts; // read now, for the list to keep
    };
    class Order {
      public:
        // Gives the rows back on return, so the order can be finished.
        Ordered operator()(const RunControl& control);

      private:
        friend class FolderSession;
        LentList m_list;
        std::string m_folder;
        RowOrder m_order;
    };
    Order startOrder(RowOrder order) const;
    // The rows take their places as one step of the history; false when
    // nothing moved and the order is the same.
    bool finishOrder(Ordered ordered);

    // Runs on disk ----------------------------------------------------------
    struct RunDone;
    class Run {
      public:
        enum class Kind { Rename, Undo, Redo };
        Kind kind() const { return m_kind; }
        std::size_t files() const; // what a rename moves; 0 where the records tell
        RunDone operator()(const RunControl& control);

      private:
        friend class FolderSession;
        Kind m_kind = Kind::Rename;
        std::string m_folder;
        std::optional<RunRequest> m_request;
    };
    struct RunDone {
        RunResult result;
        Run::Kind kind = Run::Kind::Rename;
        bool canUndo = false;
        bool canRedo = false;
        bool replacesRows() const { return !std::holds_alternative<FolderNotRead>(result.folder); }
    };
    // Both checks, marking "Err!"; a refusal comes back as its result.
    std::variant<RunResult, Run> prepareRename();
    // Nothing when the records, as last read, hold nothing to take back.
    std::optional<Run> prepareUndo() const;
    std::optional<Run> prepareRedo() const;
    struct Finished {
        RunOutcome outcome = RunOutcome::Failed;
        RunNews news;
        bool reloaded = false;
        bool protectedFileListed = false;
        bool folderAsBefore = false;            // nothing moved, or every name is back
        std::optional<std::size_t> followedRow; // where the file of the current row is now
    };
    // `currentRow`: the row whose file the window follows.
    Finished finishRun(RunDone done, std::optional<std::size_t> currentRow);

  private:
    bool edit(EditKind kind, const std::function<bool(RenameList&)>& change);
    std::string nameAfter(const RunDone& done, std::size_t row) const;
    void keepEditsOfFolderLeft(const std::string& next);

    void checkNames();
    void keepOrder(RowOrder order);

    Edits m_now;
    RefusalMarks m_marks;
    FolderNames m_beside; // as the folder was last read, whole
    std::string m_folder;
    bool m_programFolder = false;
    bool m_canUndo = false; // as the records said after the last load or run
    bool m_canRedo = false;
    std::map<std::string, std::unique_ptr<Edits>> m_left; // edits of folders left, by folder
};

} // namespace velmorandi
