#include "run/run.h"

#include "run/journal_store.h"
#include "run/locate.h"
#include "run/restore.h"
#include "run/run_engine.h"
#include "run/run_messages.h"

namespace velmorandi {
namespace {

using Opened = platform::RecordFile::Opened;
using messages::RecoveryNote;

// An unsealed record proves that its run made no step: it goes, unless its
// run is still writing it.
void discardUnsealed(const RunContext& context, const std::string& name) {
    JournalStore::Read held = context.records->hold(name);
    if (held.opened == Opened::Yes)
        context.records->remove(context.disk, held.file, name);
}

RecoveryNote setAside(const RunContext& context, JournalStore::Read& read, const std::string& name,
                      const std::string& why) {
    std::string keptAt;
    context.records->setAside(context.disk, read.file, name, keptAt);
    const std::string folder = read.decoded.header ? read.decoded.header->folder : std::string();
    return messages::recordSetAside(keptAt, why, folder);
}

// Every file already bears the name the run gave it.
bool finalNamesBorne(const Journal& journal, const RunContext& context) {
    OpenedFolder folder;
    std::vector<platform::FolderEntry> entries;
    if (openFolder(journal.folder, context.testing, folder) ||
        !isJournaledFolder(journal.folderIdentity, journal.traits.stableIdentities, folder) ||
        folder.handle.readEntries(entries, platform::EntryKinds::Unresolved))
        return false;
    const Located located = locateFiles(journal, folder.handle, entries);
    if (located.proof != Located::Proof::Proven || !located.leftovers.empty())
        return false;
    for (std::size_t i = 0; i < journal.moves.size(); ++i)
        if (located.names[i] != journal.moves[i].to)
            return false;
    return true;
}

// `folder` names the folder as the user knows it now: where it was moved to, if it was.
RecoveryNote noteOf(const std::string& folder, const Restoration& restoration,
                    const std::string& keptAt) {
    using Outcome = Restoration::Outcome;
    switch (restoration.outcome) {
    case Outcome::Whole:
        return messages::restored(folder, restoration.restored);
    case Outcome::InPart:
        return messages::restoredInPart(folder, restoration.restored, restoration.stillRenamed,
                                        restoration.missing, keptAt);
    case Outcome::FolderAway:
        return messages::folderAway(folder, restoration.error);
    case Outcome::FolderReplaced:
        return messages::folderReplaced(folder);
    case Outcome::Unproven:
        return messages::unproven(folder, keptAt);
    case Outcome::Failed:
        break;
    }
    return messages::notPutBack(folder, restoration.error, restoration.stillRenamed);
}

// A record whose run the journal and the disk cannot explain is kept aside
// and reported; one held by a live process is that process's business.
std::optional<JournalStore::Read> readUsable(const RunContext& context, const std::string& name,
                                             std::optional<RecoveryNote>& note) {
    JournalStore::Read read = context.records->read(name, true);
    switch (read.opened) {
    case Opened::Held:
    case Opened::Gone:
        return std::nullopt;
    case Opened::Refused:
        note = setAside(context, read, name, messages::refusedRecord(read.refusal));
        return std::nullopt;
    case Opened::Failed:
        note = messages::recordUnreadable(context.records->pathOf(name), read.error);
        return std::nullopt;
    case Opened::Yes:
        break;
    }
    if (read.decoded.state != DecodedJournal::State::Whole) {
        note = setAside(context, read, name,
                        messages::damagedRecord(read.decoded.state == DecodedJournal::State::Torn));
        return std::nullopt;
    }
    return read;
}

std::optional<RecoveryNote> recoverRecord(const RunContext& context, const std::string& name) {
    std::optional<RecoveryNote> note;
    std::optional<JournalStore::Read> read = readUsable(context, name, note);
    if (!read)
        return note;
    const Journal& journal = *read->decoded.journal;
    if (journal.complete == Mark::Present)
        return std::nullopt;
    // Its complete mark is damaged, and the disk shows it had finished: nothing to take back.
    if (journal.complete == Mark::Damaged && finalNamesBorne(journal, context)) {
        std::string keptAt;
        context.records->setAside(context.disk, read->file, name, keptAt);
        return messages::finishedButDamaged(journal.folder, keptAt);
    }
    if (context.observer)
        context.observer->restoringFolder(journal.folder);
    const Restoration restoration =
        restoreRun(journal, read->file, name, journal.folder, std::nullopt, context);
    return noteOf(journal.folder, restoration, context.records->pathOf(name));
}

RecoveryReport reportOf(const std::vector<RecoveryNote>& notes) {
    return notes.empty() ? RecoveryReport{} : RecoveryReport{messages::recoveryReport(notes)};
}

} // namespace

RecoveryReport RecoverInterruptedRuns(const RunControl& control) {
    const RunContext context(control);
    if (const auto& problem = context.records->problem())
        return {messages::recordsUnusable(*problem)};
    std::vector<RecoveryNote> notes;
    const std::vector<JournalStore::Entry> entries = context.records->list();
    // Newest first: a rollback interrupted in its turn is taken back before
    // the run it was taking back.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!entry->sealed) {
            discardUnsealed(context, entry->name);
        } else if (entry->complete == Mark::Present) {
            // A rollback interrupted before it could remove the records.
            if (entry->header && entry->header->kind == Journal::Kind::Rollback)
                finishRolledBack(entry->name, *entry->header, context);
        } else if (std::optional<RecoveryNote> note = recoverRecord(context, entry->name)) {
            notes.push_back(std::move(*note));
        }
    }
    return reportOf(notes);
}

RecoveryReport RecoverMovedRun(const std::string& folderPath, const RunControl& control) {
    const RunContext context(control);
    OpenedFolder folder;
    if (context.records->problem() || openFolder(folderPath, context.testing, folder))
        return {};
    std::vector<RecoveryNote> notes;
    const std::vector<JournalStore::Entry> entries = context.records->list();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        // Where the header shows another folder, the record need not be read:
        // it may be large, and this is asked at every folder the user opens.
        if (!entry->sealed || entry->complete == Mark::Present || !entry->header ||
            !isJournaledFolder(entry->header->folderIdentity,
                               entry->header->traits.stableIdentities, folder))
            continue;
        std::optional<RecoveryNote> note;
        std::optional<JournalStore::Read> read = readUsable(context, entry->name, note);
        if (!read)
            continue;
        const Journal& journal = *read->decoded.journal;
        if (context.observer)
            context.observer->restoringFolder(folderPath);
        const Restoration restoration =
            restoreRun(journal, read->file, entry->name, folderPath, std::nullopt, context);
        // Another folder that only looks alike is none of this record's business.
        const bool mine = journal.folder == folderPath ||
                          (restoration.outcome != Restoration::Outcome::Unproven &&
                           restoration.outcome != Restoration::Outcome::FolderReplaced);
        if (mine)
            notes.push_back(noteOf(messages::movedFolder(journal.folder, folderPath), restoration,
                                   context.records->pathOf(entry->name)));
    }
    return reportOf(notes);
}

} // namespace velmorandi
