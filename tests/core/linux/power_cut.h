#pragma once

#include "run/disk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// A power cut, modelled on what the run's calls did: every rename, link,
// removal and write made since the last sync of its folder (for names) or of
// its record (for a record's bytes) is taken back, newest first.
//
// What it covers: the loss of everything not yet synced, in each of three
// places at once (the run's folder, the records' folder, each record's bytes).
// Together with a plain crash, which keeps everything, these are the two ends
// of what a disk may keep; a disk that keeps a prefix of the calls since the
// last sync is a crash at the end of that prefix, which the crash sweep
// covers. What it does not: a disk that keeps a later call and loses an
// earlier one of the same place, a record's bytes cut part-way (the torn
// journal tests cover that), a file whose name survives while its bytes do
// not, and renumbered files (an entry removed comes back under its number
// only where a second name could hold it; elsewhere it is written again).
namespace velmorandi::testing {

class PowerCut {
  public:
    PowerCut(std::string runFolder, std::string records)
        : m_run(std::move(runFolder)), m_records(std::move(records)),
          m_kept(m_run + ".kept-by-power-cut") {
        std::filesystem::create_directory(m_kept);
    }
    ~PowerCut() {
        std::error_code ignored;
        std::filesystem::remove_all(m_kept, ignored);
    }
    PowerCut(const PowerCut&) = delete;
    PowerCut& operator=(const PowerCut&) = delete;

    // `inner` decides whether a call is made; what it makes is recorded.
    DiskSeam around(DiskSeam inner) {
        return [this, inner](DiskCall call, std::string_view a, std::string_view b,
                             const std::function<std::optional<SystemError>()>& perform) {
            return inner(call, a, b, [&]() -> std::optional<SystemError> {
                const std::lock_guard lock(m_mutex);
                m_keptNow.clear();
                std::function<void()> undo = prepare(call, std::string(a), std::string(b));
                std::optional<SystemError> error = perform();
                if (!error)
                    made(call, std::string(a), std::move(undo));
                else if (!m_keptNow.empty())
                    ::unlink(m_keptNow.c_str());
                return error;
            });
        };
    }

    // The power goes: what was not synced is lost.
    void cut() {
        for (auto lost = m_lost.rbegin(); lost != m_lost.rend(); ++lost)
            lost->undo();
        m_lost.clear();
    }

  private:
    enum class Place { RunFolder, RecordFolder, RecordBytes };
    struct Lost {
        Place place;
        ino_t record; // for a record's bytes
        std::function<void()> undo;
        std::string kept; // a second name that holds a removed file, until the removal is synced
    };

    std::string inRun(const std::string& name) const { return m_run + "/" + name; }
    std::string inRecords(const std::string& name) const { return m_records + "/" + name; }

    static ino_t numberOf(const std::string& path) {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0 ? status.st_ino : 0;
    }
    static std::string bytesOf(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    static void rename(const std::string& from, const std::string& to) {
        EXPECT_EQ(std::rename(from.c_str(), to.c_str()), 0) << from << " -> " << to;
    }
    // The record bearing `number` now, under whatever name.
    std::string recordNumbered(ino_t number) const {
        for (const auto& entry : std::filesystem::directory_iterator(m_records))
            if (numberOf(entry.path()) == number)
                return entry.path();
        return {};
    }

    // An entry about to go, kept so that it can come back: under a second
    // name where the drive has them, else its bytes.
    std::function<void()> keepForReturn(const std::string& path) {
        const std::string kept = m_kept + "/" + std::to_string(m_keptCount++);
        if (::link(path.c_str(), kept.c_str()) == 0) {
            m_keptNow = kept;
            return [path, kept] { rename(kept, path); };
        }
        return [path, bytes = bytesOf(path)] { write(path, bytes); };
    }

    // How to take back the call, read before it is made.
    std::function<void()> prepare(DiskCall call, const std::string& a, const std::string& b) {
        switch (call) {
        case DiskCall::Rename:
            return [=, this] { rename(inRun(b), inRun(a)); };
        case DiskCall::Exchange:
            return [=, this] {
                EXPECT_EQ(::renameat2(AT_FDCWD, inRun(a).c_str(), AT_FDCWD, inRun(b).c_str(),
                                      RENAME_EXCHANGE),
                          0);
            };
        case DiskCall::Link:
            return [=, this] { EXPECT_EQ(::unlink(inRun(b).c_str()), 0); };
        case DiskCall::CreatePlaceholder:
            return [=, this] { EXPECT_EQ(::unlink(inRun(a).c_str()), 0); };
        case DiskCall::Unlink:
        case DiskCall::RemoveLeftover:
            return keepForReturn(inRun(a));
        case DiskCall::RenameOntoPlaceholder: {
            auto placeholderBack = keepForReturn(inRun(b));
            return [=, this] {
                rename(inRun(b), inRun(a));
                placeholderBack();
            };
        }
        case DiskCall::CreateRecord:
            return [=, this] { EXPECT_EQ(::unlink(inRecords(a).c_str()), 0); };
        case DiskCall::RenameRecord:
            return [=, this] { rename(inRecords(b), inRecords(a)); };
        case DiskCall::RemoveRecord:
            return keepForReturn(inRecords(a));
        case DiskCall::AppendRecord:
        case DiskCall::CutRecord: {
            const ino_t number = numberOf(inRecords(a));
            return [=, this, bytes = bytesOf(inRecords(a))] {
                const std::string now = recordNumbered(number);
                if (!now.empty())
                    write(now, bytes);
            };
        }
        default:
            return {};
        }
    }

    void made(DiskCall call, const std::string& a, std::function<void()> undo) {
        const auto synced = [this](Place place, ino_t record) {
            std::erase_if(m_lost, [&](const Lost& lost) {
                const bool kept = lost.place == place && lost.record == record;
                if (kept && !lost.kept.empty())
                    ::unlink(lost.kept.c_str());
                return kept;
            });
        };
        switch (call) {
        case DiskCall::SyncFolder:
            return synced(Place::RunFolder, 0);
        case DiskCall::SyncRecordFolder:
            return synced(Place::RecordFolder, 0);
        case DiskCall::SyncRecord:
            return synced(Place::RecordBytes, numberOf(inRecords(a)));
        case DiskCall::AppendRecord:
        case DiskCall::CutRecord:
            m_lost.push_back({Place::RecordBytes, numberOf(inRecords(a)), std::move(undo), {}});
            return;
        case DiskCall::CreateRecord:
        case DiskCall::RenameRecord:
        case DiskCall::RemoveRecord:
            m_lost.push_back({Place::RecordFolder, 0, std::move(undo), m_keptNow});
            return;
        default:
            if (undo)
                m_lost.push_back({Place::RunFolder, 0, std::move(undo), m_keptNow});
        }
    }

    std::string m_run;
    std::string m_records;
    std::string m_kept;
    std::size_t m_keptCount = 0;
    std::string m_keptNow; // kept by the call being made
    std::mutex m_mutex;
    std::vector<Lost> m_lost;
};

} // namespace velmorandi::testing
