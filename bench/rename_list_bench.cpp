#include "bench.h"

#include "edit_history.h"
#include "protected_files.h"
#include "refusal_marks.h"
#include "rename_list.h"
#include "transforms/operations.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace velmorandi::bench {

namespace {

constexpr int kRuns = 5;

// About 20 bytes each, mixed case, spaces, some non-ASCII letters, several extensions.
std::vector<std::string> generatedNames(std::size_t count) {
    static const char* const stems[] = {
        "Holiday photo ", "report_final ", "  Caf\xc3\xa9 menu ",
        "IMG_",           "notes-",        "\xc3\x89t\xc3\xa9 trip "};
    static const char* const extensions[] = {".jpg", ".txt", ".tar.gz", "", ".pdf"};
    std::vector<std::string> names;
    names.reserve(count);
    char number[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%07zu", i);
        names.push_back(std::string(stems[i % 6]) + number + extensions[i % 5]);
    }
    return names;
}

void measureOperation(const std::string& measure, const std::vector<std::string>& names,
                      Operation operation, const OperationInputs& inputs) {
    RenameList list;
    const double ms = medianMs(
        kRuns, [&] { list.load(names); }, [&] { ApplyOperation(list, operation, inputs); });
    report(measure, names.size(), ms);
}

void measureCheck(const std::string& measure, const std::vector<std::string>& names,
                  const std::function<bool(RenameList&)>& check) {
    RenameList list;
    const double ms = medianMs(
        kRuns, [&] { list.load(names); }, [&] { check(list); });
    report(measure, names.size(), ms);
}

// An Apply kept in the edit history (the names before it copied, then
// compared), one step back, and what one step holds in memory.
void measureEditHistory(const std::vector<std::string>& names) {
    RenameList list;
    EditHistory history;
    OperationInputs add;
    add.addText = "new_";
    add.addSide = Side::Left;
    const auto editedOnce = [&] {
        list.load(names);
        ApplyOperation(list, Operation::AddString, add);
        history.clear();
    };
    const auto keptEdit = [&] {
        EditedBases before = list.editedBases();
        ApplyOperation(list, Operation::AddString, add);
        history.recordIfChanged(list, std::move(before), EditKind::AddString);
    };
    const double editMs = medianMs(kRuns, editedOnce, keptEdit);
    const double stepMb = static_cast<double>(history.bytes()) / (1 << 20);
    const double undoMs = medianMs(
        kRuns,
        [&] {
            editedOnce();
            keptEdit();
        },
        [&] { history.undo(list); });
    std::printf("BENCH edit-history n=%zu edit-ms=%.1f undo-ms=%.1f step-mb=%.1f\n", names.size(),
                editMs, undoMs, stepMb);
    std::fflush(stdout);
}

// An Apply as the window makes it: alone, as before the marks, and then with
// every row checked for what Rename would refuse, on a drive that tells case
// apart and on one that ignores it (every name folded). A hundred sub-folders.
void measureApplyWithMarks(const std::vector<std::string>& names) {
    FolderNames beside;
    char name[32];
    for (int i = 0; i < 100; ++i) {
        std::snprintf(name, sizeof name, "Folder %03d", i);
        beside.names.emplace_back(name);
    }
    OperationInputs upper;
    upper.caseMode = CaseMode::Upper;
    RenameList list;
    RefusalMarks marks;
    const auto load = [&] { list.load(names); };
    const auto apply = [&] { ApplyOperation(list, Operation::ChangeCase, upper); };
    const double applyMs = medianMs(kRuns, load, apply);
    const auto applyAndMark = [&](bool ignoresCase) {
        beside.ignoresCase = ignoresCase;
        return medianMs(kRuns, load, [&] {
            apply();
            marks.check(list, beside);
        });
    };
    const double markedMs = applyAndMark(false);
    const double caselessMs = applyAndMark(true);
    // The check alone, on the names as Apply left them.
    const auto markOnly = [&](bool ignoresCase) {
        beside.ignoresCase = ignoresCase;
        return medianMs(
            kRuns,
            [&] {
                load();
                apply();
            },
            [&] { marks.check(list, beside); });
    };
    const double marksMs = markOnly(false);
    const double caselessMarksMs = markOnly(true);
    std::printf("BENCH apply-with-marks n=%zu apply-ms=%.1f with-marks-ms=%.1f "
                "with-marks-caseless-ms=%.1f marks-ms=%.1f marks-caseless-ms=%.1f marked=%zu\n",
                names.size(), applyMs, markedMs, caselessMs, marksMs, caselessMarksMs,
                marks.count());
    std::fflush(stdout);
}

void runForSize(std::size_t count) {
    const auto names = generatedNames(count);
    {
        RenameList list;
        std::vector<std::string> copy;
        const double ms = medianMs(
            kRuns, [&] { copy = names; }, [&] { list.load(std::move(copy)); });
        report("load", count, ms);
    }
    OperationInputs find;
    find.findText = " ";
    find.replaceText = "_";
    measureOperation("find-replace", names, Operation::FindAndReplace, find);
    OperationInputs title;
    title.caseMode = CaseMode::Title;
    measureOperation("change-case-title", names, Operation::ChangeCase, title);
    OperationInputs upper;
    upper.caseMode = CaseMode::Upper;
    measureOperation("change-case-upper", names, Operation::ChangeCase, upper);
    OperationInputs add;
    add.addText = "new_";
    add.addSide = Side::Left;
    measureOperation("add-string", names, Operation::AddString, add);
    OperationInputs serial;
    serial.serialSide = Side::Left;
    measureOperation("serialize", names, Operation::Serialize, serial);
    OperationInputs trim;
    trim.trimSide = Side::Left;
    measureOperation("trim", names, Operation::TrimSpaces, trim);
    measureCheck("check-duplicates", names, [](RenameList& l) { return l.CheckDuplicateNames(); });
    measureCheck("check-blank", names, [](RenameList& l) { return l.CheckBlankNames(); });
    measureCheck("check-protected", names,
                 [](RenameList& l) { return CheckProtectedFiles("/home/user/Photos", l); });
    measureEditHistory(names);
    measureApplyWithMarks(names);
}

} // namespace

void runRenameListBench() {
    for (std::size_t count : {std::size_t{100000}, std::size_t{1000000}})
        runForSize(count);
}

} // namespace velmorandi::bench
