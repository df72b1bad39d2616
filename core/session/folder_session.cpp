#include "session/folder_session.h"

#include "row_order.h"

#include <algorithm>
#include <ranges>

namespace velmorandi {

namespace {

// Edits worth keeping: something to take back or to make again.
bool hasSteps(const EditHistory& history) {
    return history.canUndo() || history.canRedo();
}

// The edits of `from` on the rows of `onto`, a later read of the same folder:
// rows are matched by their listed names, and a file new to the folder keeps
// its name in every step.
EditHistory carryEdits(const RenameList& from, const EditHistory& history, RenameList& onto) {
    std::vector<std::uint32_t> places = onto.placesIn(from);
    const auto carry = [&](const EditedBases& bases, std::span<const std::uint32_t> at) {
        return onto.basesFrom(bases, at);
    };
    onto.restoreEditedBases(carry(from.editedBases(), places));
    return history.carried(std::move(places), carry);
}

// The step of the history an operation makes, as its menu names it.
EditKind editOf(Operation operation) {
    switch (operation) {
    case Operation::FindAndReplace:
        return EditKind::FindAndReplace;
    case Operation::ChangeCase:
        return EditKind::ChangeCase;
    case Operation::AddString:
        return EditKind::AddString;
    case Operation::Serialize:
        return EditKind::Serialize;
    case Operation::TrimSpaces:
        return EditKind::Trim;
    }
    return EditKind::Blank; // not reached: every operation is named above
}

} // namespace

FolderSession::FolderSession() = default;

FolderSession::~FolderSession() = default;

FolderSession::Load FolderSession::startLoad(const std::string& folder) {
    Load load;
    load.m_folder = folder;
    const Edits* carried = nullptr;
    if (folder == m_folder) {
        if (hasSteps(m_now.history))
            carried = &m_now;
    } else if (const auto kept = m_left.find(folder); kept != m_left.end()) {
        load.m_left = std::move(kept->second);
        m_left.erase(kept);
        carried = load.m_left.get();
    }
    if (carried != nullptr) {
        load.m_carriedList = LentList(carried->list);
        load.m_carriedHistory = LentHistory(carried->history);
    }
    return load;
}

FolderSession::Loaded FolderSession::Load::operator()(const RunControl& control) {
    // Given up on return: finishing the load replaces the session's rows.
    const LentList carriedList = std::move(m_carriedList);
    const LentHistory carriedHistory = std::move(m_carriedHistory);
    Loaded loaded;
    loaded.folder = m_folder;
    loaded.recovery = RecoverMovedRun(m_folder, control);
    loaded.outcome = LoadFolder(loaded.edits.list, m_folder);
    if (!loaded.failed()) {
        if (carriedList)
            loaded.edits.history = carryEdits(*carriedList, *carriedHistory, loaded.edits.list);
        LoadOutcome& outcome = loaded.outcome;
        loaded.beside.names = outcome.subfolders;
        loaded.beside.names.insert(loaded.beside.names.end(), outcome.unshown.begin(),
                                   outcome.unshown.end());
        outcome.unshown = {};
        loaded.beside.ignoresCase = outcome.ignoresCase;
        loaded.marks.check(loaded.edits.list, loaded.beside);
        loaded.canUndo = CanUndo(m_folder, control);
        loaded.canRedo = CanRedo(m_folder, control);
    }
    loaded.left = std::move(m_left);
    return loaded;
}

FolderSession::Opened FolderSession::finishLoad(Loaded loaded) {
    Opened opened;
    opened.error = std::move(loaded.outcome.error);
    opened.recovery = std::move(loaded.recovery);
    if (opened.error) {
        if (loaded.left)
            m_left[loaded.folder] = std::move(loaded.left);
        return opened;
    }
    keepEditsOfFolderLeft(loaded.folder);
    m_now.list = std::move(loaded.edits.list);
    m_now.history = std::move(loaded.edits.history);
    m_marks = std::move(loaded.marks);
    m_beside = std::move(loaded.beside);
    m_folder = std::move(loaded.folder);
    m_canUndo = loaded.canUndo;
    m_canRedo = loaded.canRedo;
    opened.subfolders = std::move(loaded.outcome.subfolders);
    opened.protectedFileListed = loaded.outcome.protectedFileListed;
    m_programFolder = loaded.outcome.programFolder;
    return opened;
}

void FolderSession::keepEditsOfFolderLeft(const std::string& next) {
    if (m_folder.empty() || m_folder == next || !hasSteps(m_now.history))
        return;
    m_left[m_folder] =
        std::make_unique<Edits>(Edits{std::move(m_now.list), std::move(m_now.history)});
}

bool FolderSession::edit(EditKind kind, const std::function<bool(RenameList&)>& change) {
    EditedBases before = m_now.list.editedBases();
    if (!change(m_now.list))
        return false;
    m_now.history.recordIfChanged(m_now.list, std::move(before), kind);
    checkNames();
    return true;
}

void FolderSession::checkNames() {
    m_marks.check(m_now.list, m_beside);
}

bool FolderSession::apply(Operation operation, const OperationInputs& inputs) {
    return edit(editOf(operation), [&](RenameList& list) {
        ApplyOperation(list, operation, inputs);
        return true;
    });
}

bool FolderSession::blank() {
    return edit(EditKind::Blank, [](RenameList& list) {
        list.Blank();
        return true;
    });
}

bool FolderSession::reset() {
    return edit(EditKind::Reset, [](RenameList& list) {
        list.Reset();
        return true;
    });
}

bool FolderSession::nameByHand(std::size_t row, const std::string& name) {
    return edit(EditKind::ByHand, [&](RenameList& list) { return list.setEditedName(row, name); });
}

bool FolderSession::leaveOut(const std::vector<std::size_t>& rows) {
    return edit(EditKind::LeaveOut, [&](RenameList& list) {
        list.leaveOut(rows, true);
        return true;
    });
}

bool FolderSession::putBack(const std::vector<std::size_t>& rows) {
    return edit(EditKind::PutBack, [&](RenameList& list) {
        list.leaveOut(rows, false);
        return true;
    });
}

HistoryOffer FolderSession::undoOffer() const {
    if (m_now.history.canUndo())
        return {HistoryOffer::Kind::Edit, m_now.history.nextUndo()};
    if (m_canUndo)
        return {HistoryOffer::Kind::RenameOnDisk};
    return {};
}

// Once the edits have run out: the last undo on disk, renamed again.
HistoryOffer FolderSession::redoOffer() const {
    if (m_now.history.canRedo())
        return {HistoryOffer::Kind::Edit, m_now.history.nextRedo()};
    if (m_canRedo)
        return {HistoryOffer::Kind::RenameOnDisk};
    return {};
}

bool FolderSession::undoEdit() {
    if (!m_now.history.canUndo())
        return false;
    m_now.history.undo(m_now.list);
    checkNames();
    return true;
}

bool FolderSession::redoEdit() {
    if (!m_now.history.canRedo())
        return false;
    m_now.history.redo(m_now.list);
    checkNames();
    return true;
}

std::size_t FolderSession::Run::files() const {
    return m_request ? m_request->moves.size() : 0;
}

FolderSession::RunDone FolderSession::Run::operator()(const RunControl& control) {
    RunDone done;
    done.kind = m_kind;
    switch (m_kind) {
    case Kind::Rename:
        done.result = ExecuteRun(std::move(*m_request), control);
        break;
    case Kind::Undo:
        done.result = ExecuteUndo(m_folder, control);
        break;
    case Kind::Redo:
        done.result = ExecuteRedo(m_folder, control);
        break;
    }
    done.canUndo = CanUndo(m_folder, control);
    done.canRedo = CanRedo(m_folder, control);
    return done;
}

std::variant<RunResult, FolderSession::Run> FolderSession::prepareRename() {
    // No folder could be loaded: nothing to rename, nothing to say.
    if (m_folder.empty())
        return RunResult{RunOutcome::Refused, {}, {}, FolderNotRead{}};
    std::variant<RunResult, RunRequest> prepared = PrepareRename(m_now.list, m_folder);
    if (auto* refusal = std::get_if<RunResult>(&prepared))
        return std::move(*refusal);
    Run run;
    run.m_folder = m_folder;
    run.m_request = std::get<RunRequest>(std::move(prepared));
    return run;
}

std::optional<FolderSession::Run> FolderSession::prepareUndo() const {
    if (!m_canUndo)
        return std::nullopt;
    Run run;
    run.m_kind = Run::Kind::Undo;
    run.m_folder = m_folder;
    return run;
}

std::optional<FolderSession::Run> FolderSession::prepareRedo() const {
    if (!m_canRedo)
        return std::nullopt;
    Run run;
    run.m_kind = Run::Kind::Redo;
    run.m_folder = m_folder;
    return run;
}

// The name the file of `row` bears after the run.
std::string FolderSession::nameAfter(const RunDone& done, std::size_t row) const {
    const RenameRow file = m_now.list.row(row);
    if (done.result.outcome != RunOutcome::Completed)
        return std::string(file.listedName());
    if (done.kind == Run::Kind::Rename)
        return std::string(file.editedName());
    if (const auto* listed = std::get_if<FolderListed>(&done.result.folder))
        for (std::size_t i = 0; i < listed->formerNames.size(); ++i)
            if (listed->formerNames[i] == file.listedName())
                return listed->expectedNames[i];
    return std::string(file.listedName());
}

FolderSession::Finished FolderSession::finishRun(RunDone done,
                                                 std::optional<std::size_t> currentRow) {
    Finished finished;
    finished.outcome = done.result.outcome;
    finished.folderAsBefore = done.result.outcome != RunOutcome::Completed && !done.replacesRows();
    std::optional<std::string> followed;
    if (currentRow && *currentRow < m_now.list.size())
        followed = nameAfter(done, *currentRow);
    const RowOrder order = m_now.list.order();
    const ListChange change = FinishRun(m_now.list, m_folder, done.result);
    finished.news = std::move(done.result.news);
    finished.reloaded = change.reloaded;
    finished.protectedFileListed = change.protectedFileListed || m_programFolder;
    if (change.reloaded) {
        m_now.history.clear();
        keepOrder(order);
    }
    m_canUndo = done.canUndo;
    m_canRedo = done.canRedo;
    checkNames();
    if (!followed || !change.reloaded) {
        finished.followedRow = followed ? currentRow : std::nullopt;
        return finished;
    }
    for (std::size_t i = 0; i < m_now.list.size() && !finished.followedRow; ++i)
        if (m_now.list.row(i).listedName() == *followed)
            finished.followedRow = i;
    return finished;
}

FolderSession::Ordered FolderSession::Order::operator()(const RunControl&) {
    const LentList list = std::move(m_list);
    Ordered ordered;
    ordered.order = m_order;
    if (!list)
        return ordered;
    std::span<const platform::FileFacts> facts = list->fileFacts();
    if (needsFacts(m_order) && facts.empty()) {
        ordered.facts = readFileFacts(m_folder, *list);
        facts = ordered.facts;
    }
    ordered.rows = rowsInOrder(*list, m_order, facts);
    return ordered;
}

FolderSession::Order FolderSession::startOrder(RowOrder order) const {
    Order work;
    work.m_list = LentList(m_now.list);
    work.m_folder = m_folder;
    work.m_order = order;
    return work;
}

bool FolderSession::finishOrder(Ordered ordered) {
    RenameList& list = m_now.list;
    if (list.empty() || ordered.rows.size() != list.size())
        return false;
    if (!ordered.facts.empty())
        list.setFileFacts(std::move(ordered.facts));
    const bool same =
        ordered.order == list.order() &&
        std::ranges::equal(ordered.rows,
                           std::views::iota(std::uint32_t{0}, std::uint32_t(list.size())));
    if (same)
        return false;
    m_now.history.recordOrder(list.order(), ordered.rows);
    list.reorder(ordered.rows, ordered.order);
    checkNames();
    return true;
}

// Renamed, the rows come back in name order: the user's order holds them
// again where it needs nothing read anew. The sizes and times of renamed
// files moved with their rows; a folder listed anew has none.
void FolderSession::keepOrder(RowOrder order) {
    RenameList& list = m_now.list;
    if (order == list.order() || (needsFacts(order) && list.fileFacts().empty()))
        return;
    list.reorder(rowsInOrder(list, order, list.fileFacts()), order);
}

} // namespace velmorandi
