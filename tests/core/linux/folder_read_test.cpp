// A folder too large for one read-ahead chunk: entries must cross chunk and
// queue limits whole, once each, with their kinds.
#include "../temp_folder.h"
#include "platform/folder_access.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <unistd.h>

namespace velmorandi {
namespace {

struct Seen {
    int times = 0;
    bool isFolder = false;
    bool hidden = false;
};

std::map<std::string, Seen> readAll(const platform::FolderHandle& handle,
                                    platform::EntryKinds kinds) {
    std::map<std::string, Seen> seen;
    const auto error = handle.forEachEntry(
        [&](const platform::EntryView& entry) {
            Seen& one = seen[std::string(entry.name)];
            ++one.times;
            one.isFolder = entry.isFolder;
            one.hidden = entry.hidden;
        },
        kinds);
    EXPECT_FALSE(error) << error->reason;
    return seen;
}

TEST(FolderRead, LargeFolderGivesEveryEntryOnceWithItsKind) {
    testing::TempFolder folder;
    std::map<std::string, bool> made; // name -> is a folder
    // Lengths from 1 to 255 bytes, so that records end anywhere in a chunk.
    for (int i = 0; i < 4000; ++i) {
        std::string name = std::to_string(i) + "_";
        name.resize(std::max<std::size_t>(name.size(), static_cast<std::size_t>(i * 37 % 255 + 1)),
                    'n');
        folder.createFile(name);
        made[name] = false;
    }
    for (int i = 0; i < 40; ++i) {
        const std::string name = "sub" + std::to_string(i);
        ASSERT_EQ(::mkdir(folder.at(name).c_str(), 0700), 0);
        made[name] = true;
        const std::string link = "link" + std::to_string(i);
        ASSERT_EQ(::symlink(name.c_str(), folder.at(link).c_str()), 0);
        made[link] = true;
        const std::string dangling = "dangling" + std::to_string(i);
        ASSERT_EQ(::symlink("nowhere", folder.at(dangling).c_str()), 0);
        made[dangling] = false;
        folder.createFile(".hidden" + std::to_string(i));
    }

    platform::FolderHandle handle;
    ASSERT_FALSE(handle.open(folder.path()));
    for (int pass = 0; pass < 2; ++pass) { // a second read starts from the top again
        const std::map<std::string, Seen> seen = readAll(handle, platform::EntryKinds::Resolved);
        ASSERT_EQ(seen.size(), made.size() + 40);
        for (const auto& [name, isFolder] : made) {
            const auto found = seen.find(name);
            ASSERT_NE(found, seen.end()) << name;
            EXPECT_EQ(found->second.times, 1) << name;
            EXPECT_EQ(found->second.isFolder, isFolder) << name;
        }
        for (const auto& [name, one] : seen)
            EXPECT_EQ(one.hidden, name[0] == '.') << name;
    }
    EXPECT_EQ(readAll(handle, platform::EntryKinds::Unresolved).size(), made.size() + 40);
}

} // namespace
} // namespace velmorandi
