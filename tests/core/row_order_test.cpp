#include "list_rows.h"
#include "row_order.h"
#include "run_support.h"
#include "session/folder_session.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>

namespace velmorandi {
namespace {

using testing::editedNames;
using testing::listedNames;
using testing::TempFolder;
using testing::TestRecords;
using Names = std::vector<std::string>;
using Key = RowOrder::Key;

struct Session {
    TestRecords records;
    RunTesting testing;
    FolderSession session;

    void open(const std::string& folder) {
        session.finishLoad(session.startLoad(folder)(records.control(&testing)));
    }
    bool order(RowOrder order) {
        return session.finishOrder(session.startOrder(order)(records.control(&testing)));
    }
    void apply(Operation kind, const OperationInputs& inputs) {
        EXPECT_TRUE(session.apply(kind, inputs));
    }
    void rename() {
        auto prepared = session.prepareRename();
        ASSERT_TRUE(std::holds_alternative<FolderSession::Run>(prepared));
        session.finishRun(
            std::get<FolderSession::Run>(std::move(prepared))(records.control(&testing)),
            std::nullopt);
    }
    // Each file's edited name, whatever row it stands in.
    std::map<std::string, std::string> editsByFile() const {
        std::map<std::string, std::string> edits;
        for (const RenameRow row : session.list().rows())
            edits[std::string(row.listedName())] = row.editedName();
        return edits;
    }
};

struct File {
    std::string name;
    std::size_t size;
    int minutes; // modified, minutes after a fixed time
};

void createFiles(const TempFolder& folder, const std::vector<File>& files) {
    const auto base = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    for (const File& file : files) {
        folder.createFile(file.name, std::string(file.size, 'x'));
        std::filesystem::last_write_time(testing::fileSystemPath(folder.at(file.name)),
                                         base + std::chrono::minutes(file.minutes));
    }
}

// The order as the user reads it: from name order, a stable sort by the key,
// files that are gone last.
Names expectedOrder(std::vector<File> files, RowOrder order, const std::string& gone) {
    const auto value = [&](const File& file) -> std::string {
        switch (order.key) {
        case Key::Size:
            return std::to_string(1000 + file.size);
        case Key::Modified:
            return std::to_string(1000 + file.minutes);
        case Key::Type: {
            const auto dot = file.name.rfind('.');
            std::string type = dot == std::string::npos ? "" : file.name.substr(dot + 1);
            std::ranges::transform(type, type.begin(), [](char c) { return std::tolower(c); });
            return type;
        }
        case Key::Name:
            break;
        }
        return {};
    };
    std::ranges::stable_sort(files, [&](const File& a, const File& b) {
        if ((a.name == gone) != (b.name == gone))
            return b.name == gone;
        if (a.name == gone)
            return false;
        return order.descending ? value(b) < value(a) : value(a) < value(b);
    });
    if (order.key == Key::Name && order.descending)
        std::ranges::reverse(files);
    Names names;
    for (const File& file : files)
        names.push_back(file.name);
    return names;
}

// Every key both ways from every other order: ties keep name order (photo2
// before photo10), a file that vanished before its facts were read comes last.
TEST(RowOrder, EveryKeyBothWaysKeepsNameOrderInTiesAndPutsAFileGoneLast) {
    // In name order, as the folder lists them.
    const std::vector<File> files{{"a.TXT", 30, 5},   {"b", 10, 7},          {"c.jpg", 20, 5},
                                  {"gone.png", 5, 1}, {"photo2.jpg", 10, 9}, {"photo10.txt", 20, 2},
                                  {"z.JPG", 30, 7}};
    const TempFolder folder;
    createFiles(folder, files);
    Session s;
    s.open(folder.path());
    Names inNameOrder;
    for (const File& file : files)
        inNameOrder.push_back(file.name);
    ASSERT_EQ(listedNames(s.session.list()), inNameOrder);
    folder.remove("gone.png");

    const std::vector<RowOrder> orders{
        {Key::Size, false}, {Key::Modified, true},  {Key::Type, false}, {Key::Name, true},
        {Key::Size, true},  {Key::Modified, false}, {Key::Type, true},  {Key::Name, false}};
    for (const RowOrder from : orders)
        for (const RowOrder to : orders) {
            s.order(from);
            s.order(to);
            const std::string gone = needsFacts(to) ? "gone.png" : "";
            EXPECT_EQ(listedNames(s.session.list()), expectedOrder(files, to, gone))
                << int(from.key) << from.descending << " to " << int(to.key) << to.descending;
            EXPECT_EQ(s.session.list().order(), to);
        }
    // Ordered as they are, in the same order: no step.
    EXPECT_FALSE(s.order({Key::Name, false}));
    EXPECT_TRUE(s.order({Key::Size, false}));
}

// Edits made before and after an order, a row left out after it, taken back
// and made again one by one, and carried over a visit to another folder: each
// name stays on its file.
TEST(RowOrder, UndoAndRedoAcrossAnOrderPutEveryNameOnItsFile) {
    const TempFolder folder, other;
    createFiles(folder, {{"a.jpg", 30, 1}, {"b.jpg", 10, 2}, {"c.jpg", 20, 3}, {"d.jpg", 40, 4}});
    Session s;
    s.open(folder.path());
    OperationInputs add;
    add.addText = "x_";
    add.addSide = Side::Left;
    s.apply(Operation::AddString, add);
    const auto addedOnce = s.editsByFile();
    add.addText = "y_";
    s.apply(Operation::AddString, add);
    const auto added = s.editsByFile();
    ASSERT_TRUE(s.order({Key::Size, false}));
    EXPECT_EQ(s.session.undoOffer().edit, EditKind::Order);
    ASSERT_TRUE(s.session.leaveOut({1}));
    const auto leftOut = s.editsByFile();
    OperationInputs serial;
    serial.serialSide = Side::Left;
    s.apply(Operation::Serialize, serial);
    EXPECT_EQ(editedNames(s.session.list()),
              (Names{"1y_x_b.jpg", "c.jpg", "2y_x_a.jpg", "3y_x_d.jpg"}));
    const auto numbered = s.editsByFile();

    // Another folder and back: the rows open in name order, the edits on their files.
    createFiles(other, {{"z.txt", 1, 1}});
    s.open(other.path());
    s.open(folder.path());
    EXPECT_EQ(listedNames(s.session.list()), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(s.editsByFile(), numbered);
    EXPECT_TRUE(s.order({Key::Modified, true}));
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_TRUE(s.session.undoEdit()); // the order by date
        EXPECT_EQ(listedNames(s.session.list()), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
        EXPECT_TRUE(s.session.undoEdit()); // Serial
        EXPECT_EQ(s.editsByFile(), leftOut);
        EXPECT_TRUE(s.session.list().row(2).leftOut());
        EXPECT_TRUE(s.session.undoEdit()); // Leave out
        EXPECT_EQ(s.editsByFile(), added);
        EXPECT_TRUE(s.session.undoEdit()); // Add String
        EXPECT_EQ(s.editsByFile(), addedOnce);
        EXPECT_TRUE(s.session.undoEdit());
        EXPECT_EQ(editedNames(s.session.list()), listedNames(s.session.list()));
        EXPECT_FALSE(s.session.undoEdit());
        for (int step = 0; step < 4; ++step)
            EXPECT_TRUE(s.session.redoEdit());
        EXPECT_EQ(s.editsByFile(), numbered);
        EXPECT_TRUE(s.session.redoEdit());
        EXPECT_EQ(listedNames(s.session.list()), (Names{"d.jpg", "c.jpg", "b.jpg", "a.jpg"}));
        EXPECT_EQ(s.editsByFile(), numbered);
    }

    // Renamed, the files stay in the order they were shown in.
    s.rename();
    EXPECT_EQ(listedNames(s.session.list()),
              (Names{"3y_x_d.jpg", "c.jpg", "1y_x_b.jpg", "2y_x_a.jpg"}));
    EXPECT_FALSE(s.session.undoEdit());
    EXPECT_TRUE(s.order({Key::Name, false}));
    EXPECT_EQ(listedNames(s.session.list()),
              (Names{"1y_x_b.jpg", "2y_x_a.jpg", "3y_x_d.jpg", "c.jpg"}));
}

} // namespace
} // namespace velmorandi
