#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace velmorandi::testing {

// A real folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmorandi-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot create a temporary folder";
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string at(const std::string& name) const { return m_path + "/" + name; }

    void createFile(const std::string& name, const std::string& content = {}) const {
        std::ofstream(at(name), std::ios::binary) << content;
    }
    void createFolder(const std::string& name) const {
        std::filesystem::create_directory(at(name));
    }
    void createLink(const std::string& target, const std::string& name) const {
        std::filesystem::create_symlink(target, at(name));
    }

    // Every entry with its content; folders and links are marked as such.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> entries;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_symlink())
                entries[name] = "link to " + std::filesystem::read_symlink(entry.path()).string();
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
