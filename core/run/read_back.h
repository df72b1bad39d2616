#pragma once

#include "platform/background_task.h"
#include "rename_list.h"
#include "run/new_names.h"
#include "run/one_time_answer.h"

#include <string>

namespace velmorandi {

// The list's side of a rename, on the other core: the new names are ordered
// while this core writes the journal and renames, and the folder is read back
// while this one syncs it. It holds a lease of the rows, and is joined on
// every way out.
class ReadBack {
  public:
    ReadBack(LentList rows, std::string folder, const Disk& disk);
    ~ReadBack();
    ReadBack(const ReadBack&) = delete;
    ReadBack& operator=(const ReadBack&) = delete;

    void start();
    // Every step is made: the folder can be read back.
    void runCompleted() { m_runCompleted.give(true); }
    // Once the run has completed: whether the folder holds exactly the new
    // names; then `order` is the one a fresh listing would give.
    bool folderHoldsThem(NewNamesOrder& order);

  private:
    void work();

    const LentList m_rows;
    const std::string m_folder;
    Disk m_disk;
    NewNamesOrder m_order;
    bool m_holds = false;
    bool m_started = false;
    OneTimeAnswer m_runCompleted; // false where the run stopped short
    platform::BackgroundTask m_task;
};

} // namespace velmorandi
