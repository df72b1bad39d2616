#pragma once

#include "run/run.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace velmorandi::testing {

using Snapshot = std::map<std::string, std::string>;
using Moves = std::vector<std::pair<std::string, std::string>>;

// A fresh folder below `parent` (any file system) holding files whose content
// is their name, removed with everything in it.
class RunFolder {
  public:
    RunFolder(const std::string& parent, const std::vector<std::string>& names) {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto candidate = fileSystemPath(parent) / ("run-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error))
                m_path = pathBytes(candidate);
        }
        if (m_path.empty())
            ADD_FAILURE() << "cannot create a folder in " << parent;
        for (const std::string& name : names)
            std::ofstream(fileSystemPath(m_path) / fileSystemPath(name), std::ios::binary)
                << "content of " << name;
    }
    ~RunFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(fileSystemPath(m_path), ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::string& path() const { return m_path; }

    // Every entry with its content; a folder reads "folder".
    Snapshot snapshot() const {
        Snapshot entries;
        for (const auto& entry : std::filesystem::directory_iterator(fileSystemPath(m_path))) {
            if (entry.is_directory()) {
                entries[pathBytes(entry.path().filename())] = "folder";
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            entries[pathBytes(entry.path().filename())] = {std::istreambuf_iterator<char>(in),
                                                           std::istreambuf_iterator<char>()};
        }
        return entries;
    }

    RunRequest request(const Moves& moves) const {
        RunRequest request{m_path, {}};
        for (std::size_t i = 0; i < moves.size(); ++i)
            request.moves.push_back({moves[i].first, moves[i].second, {}, 0, i});
        return request;
    }

  private:
    std::string m_path;
};

// What the folder holds once the moves are done.
inline Snapshot afterMoves(Snapshot before, const Moves& moves) {
    Snapshot after = before;
    for (const auto& [from, to] : moves)
        after.erase(from);
    for (const auto& [from, to] : moves)
        after[to] = before.at(from);
    return after;
}

} // namespace velmorandi::testing
