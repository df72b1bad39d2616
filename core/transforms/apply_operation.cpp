#include "operations.h"

#include "rename_list.h"

#include <iterator>

namespace velmorandi {

namespace {

void applyFindAndReplace(RenameList& list, const OperationInputs& in) {
    list.rewriteEditedBases([&](std::string_view base, std::size_t) {
        return FindAndReplace(base, in.findText, in.replaceText);
    });
}

void applyChangeCase(RenameList& list, const OperationInputs& in) {
    if (!in.caseMode)
        return;
    list.rewriteEditedBases(
        [&](std::string_view base, std::size_t) { return ChangeCase(base, *in.caseMode); });
}

void applyAddString(RenameList& list, const OperationInputs& in) {
    if (!in.addSide || in.addText.empty())
        return;
    std::string added; // one buffer for every row, not an allocation each
    list.rewriteEditedBases([&](std::string_view base, std::size_t) -> std::string_view {
        AddString(base, in.addText, *in.addSide, added);
        return added;
    });
}

void applySerialize(RenameList& list, const OperationInputs& in) {
    if (!in.serialSide)
        return;
    // Numbers count only the rows taking part, which come in row order.
    const auto count = list.size() - list.rowsLeftOut().size();
    std::size_t number = 0;
    list.rewriteEditedBases([&](std::string_view base, std::size_t) {
        return Serialize(base, ++number, count, *in.serialSide);
    });
}

void applyTrimSpaces(RenameList& list, const OperationInputs& in) {
    if (!in.trimSide)
        return;
    list.rewriteEditedBases(
        [&](std::string_view base, std::size_t) { return TrimSpaces(base, *in.trimSide); });
}

} // namespace

std::optional<Operation> ApplyButtonOperation(int index) {
    constexpr Operation kFrames[]{Operation::FindAndReplace, Operation::ChangeCase,
                                  Operation::AddString, Operation::Serialize,
                                  Operation::TrimSpaces};
    if (index < 0 || index >= static_cast<int>(std::size(kFrames)))
        return std::nullopt;
    return kFrames[index];
}

void ApplyOperation(RenameList& list, Operation operation, const OperationInputs& inputs) {
    switch (operation) {
    case Operation::FindAndReplace:
        applyFindAndReplace(list, inputs);
        break;
    case Operation::ChangeCase:
        applyChangeCase(list, inputs);
        break;
    case Operation::AddString:
        applyAddString(list, inputs);
        break;
    case Operation::Serialize:
        applySerialize(list, inputs);
        break;
    case Operation::TrimSpaces:
        applyTrimSpaces(list, inputs);
        break;
    }
    list.ComposeEditedNames();
}

} // namespace velmorandi
