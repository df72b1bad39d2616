#pragma once

#include "platform/system_error.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

namespace velmorandi {

// Every call by which a run changes the disk: the records in the state folder
// and the entries of the renamed folder. A crash can fall between any two.
enum class DiskCall : std::uint8_t {
    CreateRecord,
    AppendRecord,
    SyncRecord,
    RenameRecord,
    SyncRecordFolder,
    RemoveRecord,
    CutRecord,
    Rename,
    Exchange,
    Link,
    Unlink,
    CreatePlaceholder,
    RenameOntoPlaceholder,
    RemoveLeftover,
    SyncFolder
};

// Stands in for one call; `perform` makes it. `a` and `b` name the entries it
// concerns (the record's name for the record calls), where there are any.
using DiskSeam = std::function<std::optional<SystemError>(
    DiskCall call, std::string_view a, std::string_view b,
    const std::function<std::optional<SystemError>()>& perform)>;

// The one way a run changes the disk, so that a test can fail, or stop for
// good, any single call. Without a seam a call costs nothing more.
class Disk {
  public:
    explicit Disk(const DiskSeam* seam = nullptr)
        : m_seam(seam != nullptr && *seam ? seam : nullptr) {}

    template <class Perform>
    [[nodiscard]] std::optional<SystemError> call(DiskCall what, std::string_view a,
                                                  std::string_view b, Perform&& perform) const {
        if (m_seam == nullptr)
            return perform();
        return (*m_seam)(
            what, a, b,
            std::function<std::optional<SystemError>()>(std::forward<Perform>(perform)));
    }

  private:
    const DiskSeam* m_seam;
};

} // namespace velmorandi
