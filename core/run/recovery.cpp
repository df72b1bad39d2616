#include "run/run.h"

#include "run/journal_encoder.h"
#include "run/journal_store.h"
#include "run/restore.h"
#include "run/run_engine.h"

#include <unordered_set>

namespace velmorandi {
namespace {

using Opened = platform::RecordFile::Opened;
using Note = RecoveryNote::Kind;

RecoveryNote makeNote(Note kind, std::string folder, std::string record = {},
                      SystemError error = {}) {
    RecoveryNote note;
    note.kind = kind;
    note.folder = std::move(folder);
    note.record = std::move(record);
    note.error = std::move(error);
    return note;
}

RecordFault refusedRecord(platform::RecordRefusal why) {
    return {RecordFault::Kind::Refused, why};
}

RecordFault faultOf(DecodedJournal::State state) {
    if (state == DecodedJournal::State::OtherFormat)
        return {RecordFault::Kind::OtherFormat};
    return {state == DecodedJournal::State::Torn ? RecordFault::Kind::CutShort
                                                 : RecordFault::Kind::Damaged};
}

RecoveryNote setAside(const RunContext& context, platform::RecordFile& file,
                      const std::string& name, RecordFault why, const std::string& folder) {
    std::string keptAt;
    RecoveryNote told;
    if (auto error = context.records->setAside(context.disk, file, name, keptAt))
        told = makeNote(Note::RecordNotSetAside, folder, context.records->pathOf(name), *error);
    else
        told = makeNote(Note::RecordSetAside, folder, keptAt);
    told.fault = why;
    return told;
}

// An unsealed record proves that its run made no step: it goes, unless its
// run is still writing it, or it is no record of this version's at all.
std::optional<RecoveryNote> discardUnsealed(const RunContext& context, const std::string& name) {
    JournalStore::Read held = context.records->hold(context.disk, name);
    if (held.opened == Opened::Refused)
        return setAside(context, held.file, name, refusedRecord(held.refusal), {});
    if (held.opened != Opened::Yes)
        return std::nullopt;
    std::string start;
    const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(held.file.size(), 8));
    if (auto error = held.file.read(0, size, start))
        return makeNote(Note::RecordUnreadable, {}, context.records->pathOf(name), *error);
    // A newer version's record is that version's to read: it stays.
    if (isNewerFormat(start))
        return makeNote(Note::NewerFormat, {}, context.records->pathOf(name));
    if (!mayBeThisFormat(start))
        return setAside(context, held.file, name, {RecordFault::Kind::OtherFormat}, {});
    if (auto error = context.records->remove(context.disk, held.file, name))
        return makeNote(Note::UnsealedNotRemoved, {}, context.records->pathOf(name), *error);
    return std::nullopt;
}

// `here` is where the folder was opened: the journaled one, or where it was moved to.
RecoveryNote noteOf(const std::string& journaled, const std::string& here,
                    const Restoration& restoration, const std::string& keptAt) {
    using Outcome = Restoration::Outcome;
    RecoveryNote told = makeNote(Note::NotPutBack, journaled, keptAt);
    told.here = here;
    told.files = restoration.restored;
    told.stillRenamed = restoration.stillRenamed;
    switch (restoration.outcome) {
    case Outcome::Whole:
        told.kind = restoration.recordLeft ? Note::RestoredRecordLeft : Note::Restored;
        if (restoration.recordLeft)
            told.error = *restoration.recordLeft;
        break;
    case Outcome::WholeElsewhere:
        told.kind = Note::RestoredElsewhere;
        break;
    case Outcome::InPart:
        told.kind = Note::RestoredInPart;
        told.missing = restoration.missing;
        break;
    case Outcome::FolderAway:
        told.kind = Note::FolderAway;
        told.error = restoration.error;
        break;
    case Outcome::FolderReplaced:
        told.kind = Note::FolderReplaced;
        break;
    case Outcome::Unproven:
        told.kind = restoration.foreign ? Note::LeftForeign : Note::Unproven;
        if (restoration.foreign) {
            told.name = restoration.foreign->name;
            told.isFolder = restoration.foreign->folder;
        }
        break;
    case Outcome::Undecided:
        told.kind = Note::LeftUnmarked;
        told.name = *restoration.unmarked;
        told.missing = restoration.missing;
        break;
    case Outcome::Finished:
    case Outcome::Failed:
        told.failure = restoration.failure;
        break;
    }
    return told;
}

// A record whose run the journal and the disk cannot explain is kept aside
// and reported; one held by a live process is that process's business, and
// is named where that process runs on another machine or mount.
std::optional<JournalStore::Read> readUsable(const RunContext& context,
                                             const JournalStore::Entry& entry,
                                             std::optional<RecoveryNote>& note) {
    JournalStore::Read read = context.records->read(context.disk, entry.name, true);
    const std::string folder = entry.header ? entry.header->folder : std::string();
    switch (read.opened) {
    case Opened::Held:
        if (read.holder && entry.header) {
            note = makeNote(Note::RunningElsewhere, folder);
            note->host = read.holder->host;
        }
        return std::nullopt;
    case Opened::Gone:
        return std::nullopt;
    case Opened::Refused:
        note = setAside(context, read.file, entry.name, refusedRecord(read.refusal), folder);
        return std::nullopt;
    case Opened::Failed:
        note =
            makeNote(Note::RecordUnreadable, {}, context.records->pathOf(entry.name), read.error);
        return std::nullopt;
    case Opened::Yes:
        break;
    }
    if (read.decoded.state == DecodedJournal::State::NewerFormat) {
        note = makeNote(Note::NewerFormat, {}, context.records->pathOf(entry.name));
        return std::nullopt;
    }
    if (read.decoded.state != DecodedJournal::State::Whole) {
        note = setAside(context, read.file, entry.name, faultOf(read.decoded.state),
                        read.decoded.header ? read.decoded.header->folder : folder);
        return std::nullopt;
    }
    return read;
}

// Every file bears its new name: nothing is taken back. A record that can
// be trusted is marked complete, as the run would have done, and kept for
// undo; one with a damaged mark is set aside.
std::optional<RecoveryNote> settleFinished(const RunContext& context, JournalStore::Read& read,
                                           const std::string& name) {
    const Journal& journal = *read.decoded.journal;
    if (journal.closing == Mark::Damaged || journal.placeholders == Mark::Damaged ||
        journal.complete == Mark::Damaged) {
        std::string keptAt;
        if (auto error = context.records->setAside(context.disk, read.file, name, keptAt))
            return makeNote(Note::FinishedNotSetAside, journal.folder,
                            context.records->pathOf(name), *error);
        return makeNote(Note::FinishedButDamaged, journal.folder, keptAt);
    }
    std::optional<SystemError> error =
        context.records->cutTo(context.disk, read.file, name, read.decoded.wholeSize);
    if (!error)
        error =
            context.records->append(context.disk, read.file, name,
                                    completeRecord(read.decoded.headerSum, read.decoded.planSum));
    if (!error)
        error = context.records->sync(context.disk, read.file, name);
    if (error)
        return makeNote(Note::FinishedUnmarked, journal.folder, context.records->pathOf(name),
                        *error);
    if (journal.kind == Journal::Kind::Rollback) {
        read.file.close();
        finishRolledBack(name, headerOf(journal), context);
    }
    return std::nullopt;
}

// The user's word on one record's unmarked placeholder.
struct Answer {
    std::string record; // as the note names it
    std::string name;
};

std::optional<RecoveryNote> recoverRecord(const RunContext& context,
                                          const JournalStore::Entry& entry,
                                          const std::optional<Answer>& answer) {
    std::optional<RecoveryNote> note;
    std::optional<JournalStore::Read> read = readUsable(context, entry, note);
    if (!read)
        return note;
    const Journal& journal = *read->decoded.journal;
    if (journal.complete == Mark::Present)
        return std::nullopt;
    if (context.observer)
        context.observer->restoringFolder(journal.folder);
    const std::string keptAt = context.records->pathOf(entry.name);
    std::optional<std::string> removable;
    if (answer && answer->record == keptAt)
        removable = answer->name;
    const Restoration restoration = restoreRun(journal, read->file, entry.name, journal.folder,
                                               std::nullopt, context, std::nullopt, removable);
    if (restoration.outcome == Restoration::Outcome::Finished)
        return settleFinished(context, *read, entry.name);
    return noteOf(journal.folder, journal.folder, restoration, keptAt);
}

// Newest first: a rollback interrupted in its turn is taken back before the
// run it was taking back. A rollback that waits on the user's word about an
// unmarked placeholder holds its run back: that run's folder shows none of
// its points until then.
RecoveryReport recoverAll(const RunControl& control, const std::optional<Answer>& answer) {
    const RunContext context(control);
    if (const auto& problem = context.records->problem())
        return {{}, *problem};
    std::vector<RecoveryNote> notes;
    std::optional<SystemError> unlisted;
    const std::vector<JournalStore::Entry> entries =
        context.records->list(context.disk, &unlisted, JournalStore::Reading::Anew);
    if (unlisted)
        notes.push_back(
            makeNote(Note::RecordUnreadable, {}, context.records->folderPath(), *unlisted));
    std::unordered_set<std::string> waiting;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (waiting.contains(entry->name))
            continue;
        std::optional<RecoveryNote> note;
        if (!entry->sealed) {
            note = discardUnsealed(context, entry->name);
        } else if (entry->complete == Mark::Present) {
            // A rollback interrupted before it could remove the records.
            if (entry->header && entry->header->kind == Journal::Kind::Rollback)
                finishRolledBack(entry->name, *entry->header, context);
        } else {
            note = recoverRecord(context, *entry, answer);
            if (note && note->kind == Note::LeftUnmarked && entry->header &&
                entry->header->kind == Journal::Kind::Rollback)
                waiting.insert(entry->header->subject);
        }
        if (note)
            notes.push_back(std::move(*note));
    }
    return {std::move(notes), std::nullopt};
}

} // namespace

RecoveryReport RecoverInterruptedRuns(const RunControl& control) {
    return recoverAll(control, std::nullopt);
}

RecoveryReport RemoveUnmarkedAndRecover(const RecoveryNote& note, const RunControl& control) {
    if (note.kind != Note::LeftUnmarked)
        return RecoverInterruptedRuns(control);
    return recoverAll(control, Answer{note.record, note.name});
}

RecoveryReport RecoverMovedRun(const std::string& folderPath, const RunControl& control) {
    const RunContext context(control);
    OpenedFolder folder;
    if (context.records->problem() || openFolder(folderPath, context, folder))
        return {};
    std::vector<RecoveryNote> notes;
    const std::vector<JournalStore::Entry> entries = context.records->list(context.disk);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        // Where the header shows another folder, the record need not be read:
        // it may be large, and this is asked at every folder the user opens.
        if (!entry->sealed || entry->complete == Mark::Present || !entry->header ||
            matchFolder(*entry->header, folderPath, folder) == FolderMatch::Other)
            continue;
        std::optional<RecoveryNote> note;
        std::optional<JournalStore::Read> read = readUsable(context, *entry, note);
        if (!read) {
            if (note)
                notes.push_back(std::move(*note));
            continue;
        }
        const Journal& journal = *read->decoded.journal;
        // Completed since the records were last read: nothing to take back.
        if (journal.complete == Mark::Present)
            continue;
        if (context.observer)
            context.observer->restoringFolder(folderPath);
        const Restoration restoration =
            restoreRun(journal, read->file, entry->name, folderPath, std::nullopt, context);
        if (restoration.outcome == Restoration::Outcome::Finished) {
            if (restoration.match == FolderMatch::Own)
                note = settleFinished(context, *read, entry->name);
        } else if (journal.folder == folderPath ||
                   (restoration.outcome != Restoration::Outcome::Unproven &&
                    restoration.outcome != Restoration::Outcome::FolderReplaced)) {
            // Another folder that only looks alike is none of this record's business.
            note = noteOf(journal.folder, folderPath, restoration,
                          context.records->pathOf(entry->name));
        }
        if (note)
            notes.push_back(std::move(*note));
    }
    return {std::move(notes), std::nullopt};
}

} // namespace velmorandi
