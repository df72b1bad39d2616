#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmorandi {

class RenameList;

enum class CaseMode { Upper, Lower, Title, Sentence };
enum class Side { Left, Right };

// The five rules, each a pure function of one edited base name. Bytes that are
// not valid UTF-8 pass through unchanged.
std::string FindAndReplace(std::string_view base, std::string_view find,
                           std::string_view replacement);
std::string ChangeCase(std::string_view base, CaseMode mode);
std::string AddString(std::string_view base, std::string_view text, Side side);
// The same into `result`, whose buffer is reused.
void AddString(std::string_view base, std::string_view text, Side side, std::string& result);
// rowNumber is 1-based; the number is zero-filled to the digit count of rowCount.
std::string Serialize(std::string_view base, std::size_t rowNumber, std::size_t rowCount,
                      Side side);
std::string TrimSpaces(std::string_view base, Side side);

// What the operation frames hold at the moment of an Apply click. An option
// group with nothing chosen is std::nullopt and changes no name.
struct OperationInputs {
    std::string findText;
    std::string replaceText;
    std::optional<CaseMode> caseMode;
    std::string addText;
    std::optional<Side> addSide;
    std::optional<Side> serialSide;
    std::optional<Side> trimSide;
};

enum class Operation { FindAndReplace, ChangeCase, AddString, Serialize, TrimSpaces };

// The operation of the Apply button `index` of the frames, left to right (0 to 4);
// none for any other index.
std::optional<Operation> ApplyButtonOperation(int index);

// Runs the operation over every row taking part and recomposes; Serial numbers
// those rows 1, 2, ... in row order.
void ApplyOperation(RenameList& list, Operation operation, const OperationInputs& inputs);

} // namespace velmorandi
