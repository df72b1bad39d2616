#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

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

// A real folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto candidate = base / ("velmorandi-test-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error))
                m_path = pathBytes(candidate);
        }
        if (m_path.empty())
            ADD_FAILURE() << "cannot create a temporary folder";
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
    std::map<std::string, std::string> snapshot() const { return snapshotOf(m_path); }
    static std::map<std::string, std::string> snapshotOf(const std::string& folder) {
        std::map<std::string, std::string> entries;
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
    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string m_path;
};

} // namespace velmorandi::testing
