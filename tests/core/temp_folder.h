#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/windows/wide_text.h"
#endif

namespace velmorandi::testing {

// Names are exact bytes; on Windows they cross as UTF-16, unpaired surrogates included.
inline std::filesystem::path fileSystemPath(const std::string& bytes) {
#ifdef _WIN32
    return std::filesystem::path(platform::widen(bytes));
#else
    return std::filesystem::path(bytes);
#endif
}

inline std::string pathBytes(const std::filesystem::path& path) {
#ifdef _WIN32
    return platform::narrow(path.native());
#else
    return path.native();
#endif
}

using Snapshot = std::map<std::string, std::string>;

// A real folder of the test's own, removed with everything in it: under the
// system's temporary folder, on a disk, or below a given folder (any file
// system) holding files whose content is "content of " and their name.
class TempFolder {
  public:
    struct OnDisk {};
    // Where /tmp is kept in memory, /var/tmp still lies on a disk.
    static constexpr OnDisk onDisk{};

    TempFolder() : TempFolder(pathBytes(std::filesystem::temp_directory_path()), {}) {}
    explicit TempFolder(OnDisk) : TempFolder(diskFolder(), {}) {}
    TempFolder(const std::string& parent, const std::vector<std::string>& files) {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto candidate =
                fileSystemPath(parent) / ("velmorandi-test-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error))
                m_path = pathBytes(candidate);
        }
        if (m_path.empty())
            ADD_FAILURE() << "cannot create a folder in " << parent;
        for (const std::string& name : files)
            createFile(name, "content of " + name);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(fileSystemPath(m_path), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string at(const std::string& name) const { return m_path + "/" + name; }

    void createFile(const std::string& name, const std::string& content = {}) const {
        std::ofstream(fileSystemPath(at(name)), std::ios::binary) << content;
    }
    void createFolder(const std::string& name) const {
        std::filesystem::create_directory(fileSystemPath(at(name)));
    }
    void createLink(const std::string& target, const std::string& name) const {
        std::filesystem::create_symlink(fileSystemPath(target), fileSystemPath(at(name)));
    }
    void remove(const std::string& name) const {
        std::filesystem::remove(fileSystemPath(at(name)));
    }

    // Every entry with its content; folders and links are marked as such.
    Snapshot snapshot() const { return snapshotOf(m_path); }
    static Snapshot snapshotOf(const std::string& folder) {
        Snapshot entries;
        for (const auto& entry : std::filesystem::directory_iterator(fileSystemPath(folder))) {
            const std::string name = pathBytes(entry.path().filename());
            if (entry.is_symlink())
                entries[name] = "link to " + pathBytes(std::filesystem::read_symlink(entry.path()));
            else if (entry.is_directory())
                entries[name] = "folder";
            else
                entries[name] = readFile(entry.path());
        }
        return entries;
    }

  private:
    static std::string diskFolder() {
#ifdef _WIN32
        return pathBytes(std::filesystem::temp_directory_path());
#else
        return "/var/tmp";
#endif
    }
    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string m_path;
};

} // namespace velmorandi::testing
