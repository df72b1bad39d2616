#pragma once

#include "platform/file_system.h"
#include "run/run_plan.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A run's plan as kept on disk, so that a crash can be rolled back and a
// completed run undone. docs/journal-format.md gives every byte of it.
namespace velmorandi {

// A record appended as the run goes on, as read back.
enum class Mark : std::uint8_t {
    Absent,
    Present,
    Damaged // a whole record is there but its check fails: it may have been either
};

// A run's own random bytes, written in its header: what the placeholders it
// makes hold, so that no file of anyone else's is ever taken for one.
using RunMark = std::array<std::uint8_t, 16>;
RunMark newRunMark();

struct Journal {
    enum class Kind : std::uint8_t {
        Rename = 1,  // the user's run; kept for undo once complete
        Undo = 2,    // takes `subject` back; kept, once complete, so that it can be redone
        Rollback = 3 // takes back `subject`, which a failure, Cancel or a crash stopped
    };
    Kind kind = Kind::Rename;
    std::string folder;
    platform::FileIdentity folderIdentity;
    std::string volume; // platform::volumeOf the folder; empty where not known
    platform::FileSystemTraits traits;
    std::string subject; // the record an undo or rollback takes back
    RunMark mark{};
    // Every file the run moves existed before this time (ns since 1970): a
    // file born later is another one under a number given out again. 0 where
    // the journal does not say.
    std::int64_t started = 0;
    std::vector<PlannedMove> moves;
    RunPlan plan;
    // A journal read back: the bytes its moves' names lie in.
    std::unique_ptr<const std::string> bytes;

    Mark closing = Mark::Absent;      // every step before plan.firstClosingStep is on the disk
    Mark placeholders = Mark::Absent; // the run may have made placeholders
    Mark complete = Mark::Absent;     // every step is on the disk
};

// What a journal's bytes prove: all there and checked; cut short inside its
// header, names or plan; a part that fails its check or holds what no run
// writes; or written in the format of an older or a newer version of the
// program.
enum class JournalState : std::uint8_t { Whole, Torn, Damaged, OtherFormat, NewerFormat };

// What the first bytes of a journal say, checked where the format checks them.
struct JournalHeader {
    Journal::Kind kind = Journal::Kind::Rename;
    std::string folder;
    std::string subject;
    platform::FileIdentity folderIdentity;
    std::string volume;
    platform::FileSystemTraits traits;
};

JournalHeader headerOf(const Journal& journal);

// The name of a record file, as the store gives them: "run-", twenty digits of
// the time, "-", six of a count, ".journal". Nothing else is ever a subject.
bool isRecordName(std::string_view name);

// One component of a path, as a journal's names must be: not empty, not "."
// or "..", no separator or zero byte, and not absurdly long.
bool isPlainName(std::string_view name);

} // namespace velmorandi
