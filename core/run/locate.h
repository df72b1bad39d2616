#pragma once

#include "platform/file_system.h"
#include "platform/folder_access.h"
#include "run/journal.h"
#include "run/step_executor.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmorandi {

// Where each file of a stopped run is now, read off the disk and proven
// against the journal, or the reason it cannot be.
struct Located {
    enum class Proof {
        Proven,
        Unproven,   // the names on the disk match no point of the run
        OtherFolder // every file is younger than the run: a copy in the folder's place
    };
    Proof proof = Proof::Proven;
    // By move: the name its file bears now; empty where it cannot be found.
    std::vector<std::string> names;
    // What a step stopped half-way left beside the files: a placeholder, or a
    // second name of a file. They go first.
    std::vector<Leftover> leftovers;
    // Files that cannot be found, by their listed names.
    std::vector<std::string> missing;
    // Where the names alone tell: how many steps were done.
    std::optional<std::size_t> stepsDone;
    // Unproven: the entry under a step's new name that would have told, had
    // the step left it, and that is no placeholder or second name of the run's.
    struct Foreign {
        std::string name;
        bool folder = false; // else a file
    };
    std::optional<Foreign> foreign;
    // An empty file, or one whose mark is cut short, under a step's new name
    // beside the files of one point of the run: what a step stopped before its
    // placeholder was marked leaves, but another program's file looks the same.
    // It is left, unless the user has it removed.
    std::optional<std::string> unmarked;
    // A status that could not be read: nothing above may be relied on.
    std::optional<SystemError> unreadable;
};

// `entries`: the folder's entries, read just before. Where file numbers last,
// each file is found by its number; elsewhere the names on the disk must be
// those of exactly one point of the run, between two of its system calls.
// `stepsDone`, where the run itself tells, narrows those points to that many
// steps, or one more, made, and lets entries of other programs stand beside
// the run's files. A leftover counts only where `proof` proves it: a
// placeholder only where the journal says the run may have made some.
// `checked(done, total)` follows the files' checks, one status read each.
using FilesChecked = std::function<void(std::size_t done, std::size_t total)>;
Located locateFiles(const Journal& journal, const platform::FolderHandle& folder, const Disk& disk,
                    const LeftoverProof& proof, const std::vector<platform::FolderEntry>& entries,
                    std::optional<std::size_t> stepsDone = std::nullopt,
                    const FilesChecked& checked = {});
// The entry under `name` is a plain file made after the run began (where the
// drive tells times, to their coarseness) that holds less than `content`, a
// part of it from its start: a placeholder whose mark was never written, or
// was cut short. That proves it no file of the run's, not that it is the run's.
bool isUnmarkedPlaceholder(const Journal& journal, const platform::FolderHandle& folder,
                           const Disk& disk, const std::string& name, const std::string& content);
// Some step's new name among `entries` is such a file.
bool showsUnmarkedPlaceholder(const Journal& journal, const platform::FolderHandle& folder,
                              const Disk& disk, const std::vector<platform::FolderEntry>& entries,
                              const std::string& content);
// The proof of the journal's leftovers in a folder with these traits.
LeftoverProof proofFor(const Journal& journal, const platform::FileSystemTraits& traits);

// The file under `name` bears the number and was born before the run began:
// a number given out again is another file's. A status that cannot be read
// (the entry there, or not) sets `unreadable`.
bool isRunsFile(const Journal& journal, const platform::FolderHandle& folder, const Disk& disk,
                const std::string& name, std::uint64_t identity,
                std::optional<SystemError>& unreadable);
// Every one of the named files was made after the run began, as in a copy
// of the folder made later; `unreadable` as above.
bool allYoungerThanRun(const Journal& journal, const platform::FolderHandle& folder,
                       const Disk& disk, const std::vector<std::string>& names,
                       std::optional<SystemError>& unreadable);

} // namespace velmorandi
