#pragma once

#include "file_name_rules.h"
#include "lending.h"
#include "platform/folder_access.h"
#include "text_offsets.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmorandi {

// No verdict, failed a check ("Err!"), renamed by a completed run ("Done").
enum class RowStatus : std::uint8_t { None, Error, Done };

// Why a row reads "Err!": one bit per rule, as a row may break several.
using RowFaults = std::uint8_t;
namespace RowFault {
constexpr RowFaults None = 0;
constexpr RowFaults Duplicate = 1 << 0;   // another row has the same edited name
constexpr RowFaults Blank = 1 << 1;       // the edited name is empty
constexpr RowFaults LeadingDot = 1 << 2;  // the edited name begins with a dot
constexpr RowFaults NotAllowed = 1 << 3;  // the system allows no such name
constexpr RowFaults TooLong = 1 << 4;     // longer than the folder's file system holds
constexpr RowFaults TakenOnDisk = 1 << 5; // a file or folder the run does not move bears it
constexpr RowFaults Gone = 1 << 6;        // the listed file is no longer in the folder
} // namespace RowFault

// One reason a row reads "Err!", with what the user has to change.
struct RowReason {
    RowFaults fault = RowFault::None; // a single rule
    NameCheck name;                   // Blank, LeadingDot, NotAllowed, TooLong: what breaks it
    std::size_t sameAs = 0;           // Duplicate: another row (0-based) with the same name

    RowReason(RowFaults rule, NameCheck check = {}, std::size_t row = 0)
        : fault(rule), name(std::move(check)), sameAs(row) {}
    bool operator==(const RowReason&) const = default;
};

// The order the rows are shown in. Name is the order the folder is listed
// in; a file whose facts could not be read comes last either way, and rows
// that tie keep name order.
struct RowOrder {
    enum class Key : std::uint8_t { Name, Modified, Size, Type };
    Key key = Key::Name;
    bool descending = false;
    bool operator==(const RowOrder&) const = default;
};

class RenameList;

// One listed file, read through its list: valid until the list changes. The
// serial number is the row's position and is not stored.
class RenameRow {
  public:
    std::string_view listedName() const;   // exact bytes as the folder listing gave them
    std::string_view originalBase() const; // listed name before its last dot
    std::string_view extension() const;    // listed name after its last dot, without the dot
    std::string_view editedBase() const;   // the only part the edit operations rewrite
    std::string_view editedName() const;   // editedBase + "." + extension
    RowStatus status() const;
    RowFaults faults() const; // empty unless the status is "Err!"
    // Left out of the rename: the row keeps its listed name, and no edit or run touches it.
    bool leftOut() const;
    // A listed name ending in a dot keeps it: on most systems it is part of the name.
    bool hasLastDot() const;

  private:
    friend class RenameList;
    RenameRow(const RenameList& list, std::size_t index) : m_list(&list), m_index(index) {}
    const RenameList* m_list;
    std::size_t m_index;
};

// Splits a file name at its last dot; the dot belongs to neither part.
struct NameParts {
    std::string base;
    std::string extension;
};
NameParts splitAtLastDot(std::string_view name);

// Decimal row number of the 0-based index, as the "S#" column shows it.
std::string serialText(std::size_t index);

// Every row's edited base name, and which rows are left out of the rename,
// kept to be put back later. Names still as listed cost nothing.
class EditedBases {
  public:
    std::size_t bytes() const {
        return m_text.capacity() + (m_sizes.capacity() + m_leftOut.capacity()) * sizeof(m_sizes[0]);
    }

  private:
    friend class RenameList;
    bool m_asListed = true;
    std::string m_text; // the bases one after another
    std::vector<std::uint32_t> m_sizes;
    std::vector<std::uint32_t> m_leftOut; // rows left out of the rename, ascending
};

// The rename grid and its hidden working table. A row keeps only what cannot
// be derived: where its listed name and edited name start in two shared
// texts, and its status. The edited name is kept whole, so the checks and the
// grid read it without composing it.
//
// A run or a load reads the list on another thread through a lease
// (LentList): while one is out, every change ends the program.
class RenameList {
  public:
    RenameList() = default;
    RenameList(const RenameList&) = default;
    RenameList(RenameList&&) noexcept = default;
    RenameList& operator=(const RenameList&) = default;
    RenameList& operator=(RenameList&&) noexcept = default;
    ~RenameList();
    const Lending& lending() const { return m_lending; }

    // Replaces every row; edited names start as the listed names, statuses empty.
    // nameLimit belongs to the folder the names were listed from.
    void load(const std::vector<std::string>& listedNames, NameLimit nameLimit = {});
    void loadViews(std::span<const std::string_view> listedNames, NameLimit nameLimit = {});
    NameLimit nameLimit() const { return m_nameLimit; }
    // Counts every change of a name: a run's moves point into the names, and
    // a run finished on another generation than it was prepared on must not
    // bring its plan back into the list.
    std::uint64_t generation() const { return m_generation; }

    std::size_t size() const { return m_marks.size(); }
    bool empty() const { return m_marks.empty(); }
    RenameRow row(std::size_t index) const { return RenameRow(*this, index); }

    class Rows {
      public:
        class iterator {
          public:
            using value_type = RenameRow;
            using difference_type = std::ptrdiff_t;
            RenameRow operator*() const { return m_list->row(m_index); }
            iterator& operator++() {
                ++m_index;
                return *this;
            }
            bool operator==(const iterator& other) const { return m_index == other.m_index; }

          private:
            friend class Rows;
            iterator(const RenameList* list, std::size_t index) : m_list(list), m_index(index) {}
            const RenameList* m_list;
            std::size_t m_index;
        };
        iterator begin() const { return {m_list, 0}; }
        iterator end() const { return {m_list, m_list->size()}; }
        std::size_t size() const { return m_list->size(); }
        RenameRow operator[](std::size_t index) const { return m_list->row(index); }

      private:
        friend class RenameList;
        explicit Rows(const RenameList* list) : m_list(list) {}
        const RenameList* m_list;
    };
    Rows rows() const { return Rows(this); }

    // Rewrites the edited base name of every row taking part, in row order;
    // rewrite(base, index) returns the new base and may take the base as
    // std::string_view or const std::string&. A row left out is not passed:
    // it keeps its listed name. Edited names follow at once.
    template <class Rewrite> void rewriteEditedBases(Rewrite&& rewrite) {
        rewriteBases(std::forward<Rewrite>(rewrite), true);
    }

    // Rows left out of the rename, and those taking part, ascending.
    std::vector<std::uint32_t> rowsLeftOut() const { return rowsWhere(true); }
    std::vector<std::uint32_t> rowsTakingPart() const { return rowsWhere(false); }
    // Leaves the rows out, their edited names back to the listed names, or
    // puts them back; rows beyond the list are passed over. Statuses clear.
    void leaveOut(std::span<const std::size_t> rows, bool out);

    // Statuses back to empty; the edited names already follow their bases.
    void ComposeEditedNames();
    bool CheckDuplicateNames();
    // Empty names and names beginning with a dot, then changed names that the
    // platform or the folder's file system cannot hold.
    bool CheckBlankNames();
    void MarkAllDone();
    // Why the row reads "Err!", one reason per rule it broke, in RowFault's order.
    std::vector<RowReason> reasonsOf(std::size_t index) const;
    // The same for rules found broken elsewhere; `sameAs` is the other row of a duplicate.
    std::vector<RowReason> reasonsFor(std::size_t index, RowFaults faults,
                                      std::size_t sameAs) const;
    // The rules of CheckBlankNames that the row's edited name breaks.
    RowFaults nameFaults(std::size_t index) const;
    void markDone(std::size_t index) {
        m_lending.refuseWhileLent("markDone");
        m_marks[index].status = RowStatus::Done;
        m_marks[index].faults = RowFault::None;
    }
    void markError(std::size_t index, RowFaults fault = RowFault::None) {
        m_lending.refuseWhileLent("markError");
        m_marks[index].status = RowStatus::Error;
        m_marks[index].faults |= fault;
    }
    // Edited base names become "" (Blank) or the original base without leading
    // spaces (Reset, which first puts every row left out back).
    void Blank();
    void Reset();
    // One row's edited name, typed whole: false, and nothing changes, when it
    // does not end in the row's extension, which no edit changes, or the row is left out.
    bool setEditedName(std::size_t index, std::string_view name);

    // After a completed run: the edited names become the listed names, rows in
    // `order` (old row numbers), every row "Done" but those left out, which
    // the run did not touch and which take part again.
    void adoptEditedNames(std::span<const std::uint32_t> order);

    // The edited base names and the rows left out as they are now; for the
    // same rows, they can be put back, which clears every status as an edit does.
    EditedBases editedBases() const;
    bool hasEditedBases(const EditedBases& bases) const;
    void restoreEditedBases(const EditedBases& bases);

    // The order the rows are in; a load puts them in name order.
    RowOrder order() const { return m_order; }
    // Where the row stands in name order.
    std::uint32_t nameRank(std::size_t index) const {
        return m_nameRanks.empty() ? static_cast<std::uint32_t>(index) : m_nameRanks[index];
    }
    // Sizes and times, read only once an order asks for them; empty before.
    std::span<const platform::FileFacts> fileFacts() const { return m_facts; }
    // One for each row, in row order.
    void setFileFacts(std::vector<platform::FileFacts> facts);
    // The row that stood at rows[p] moves to p with all it holds, and the
    // rows are then in `order`.
    void reorder(std::span<const std::uint32_t> rows, RowOrder order);

    // For a list of the same folder read again: where each row stood in
    // `before`, found by its listed name, or kNotListed.
    static constexpr std::uint32_t kNotListed = UINT32_MAX;
    std::vector<std::uint32_t> placesIn(const RenameList& before) const;
    // Edited base names of `before`'s rows, for these rows: each row takes the
    // base of its place, and is left out where it was; a row that was not
    // listed keeps its original base and takes part.
    EditedBases basesFrom(const EditedBases& before, std::span<const std::uint32_t> places) const;

  private:
    friend class RenameRow;
    struct Mark {
        RowStatus status = RowStatus::None;
        RowFaults faults = RowFault::None;
        bool leftOut = false; // kept by every edit, cleared by a load or a completed run
    };

    template <class Rewrite> void rewriteBases(Rewrite&& rewrite, bool skipLeftOut) {
        EditedText edited(*this);
        std::string scratch;
        for (std::size_t i = 0; i < size(); ++i) {
            const std::string_view tail = dotAndExtension(i);
            if (skipLeftOut && m_marks[i].leftOut) {
                edited.add(row(i).originalBase(), tail);
                continue;
            }
            const std::string_view name = row(i).editedName();
            const std::string_view base = name.substr(0, name.size() - tail.size());
            if constexpr (std::is_invocable_v<Rewrite&, std::string_view, std::size_t>) {
                edited.add(rewrite(base, i), tail);
            } else {
                scratch.assign(base);
                edited.add(rewrite(std::as_const(scratch), i), tail);
            }
        }
        edited.commit();
    }
    std::vector<std::uint32_t> rowsWhere(bool leftOut) const;
    void restoreLeftOut(const EditedBases& bases);
    std::vector<std::uint32_t> leftOutFrom(const EditedBases& before,
                                           std::span<const std::uint32_t> places) const;

    // The next edited text, built row by row, then taking the old one's place.
    class EditedText {
      public:
        explicit EditedText(RenameList& list);
        // A row's new base, then what follows the base in every edited name of the row.
        void add(std::string_view base, std::string_view tail);
        void commit();

      private:
        RenameList& m_list;
        std::string m_text;
        TextOffsets m_starts;
    };

    NameCheck checkEditedName(const RenameRow& row) const;
    // Every per-row vector in the rows' new order: rows[p] is the row now at p.
    void permuteRowData(std::span<const std::uint32_t> rows);
    std::size_t otherRowNamed(std::size_t index) const;

    const std::string& editedText() const { return m_editedIsListed ? m_listedText : m_editedText; }
    const TextOffsets& editedStarts() const {
        return m_editedIsListed ? m_listedStarts : m_editedStarts;
    }
    static std::string_view nameAt(const std::string& text, const TextOffsets& starts,
                                   std::size_t index) {
        return std::string_view(text).substr(starts[index], starts[index + 1] - starts[index]);
    }
    // The listed name's last dot and extension, which every edited name of the
    // row ends with; empty where the listed name has no dot.
    std::string_view dotAndExtension(std::size_t index) const {
        const std::string_view listed = nameAt(m_listedText, m_listedStarts, index);
        const auto dot = listed.rfind('.');
        return dot == std::string_view::npos ? std::string_view() : listed.substr(dot);
    }

    Lending m_lending{"RenameList"}; // first: moved and assigned before any name
    // A row keeps no more than its status: its names lie one after another,
    // in row order, in two shared texts, and each starts where the one
    // before it ends. Where the last dot is, is read off the listed name.
    std::vector<Mark> m_marks;
    TextOffsets m_listedStarts{0}; // one more than rows: the last is the end
    TextOffsets m_editedStarts;    // the same for m_editedText
    std::string m_listedText;
    std::string m_editedText;
    bool m_editedIsListed = true; // fresh rows: edited names are the listed names
    NameLimit m_nameLimit;
    std::uint64_t m_generation = 0;
    RowOrder m_order;
    // Empty while the rows are in name order, or not read: nothing kept per row.
    std::vector<std::uint32_t> m_nameRanks;
    std::vector<platform::FileFacts> m_facts;
};

// The rows for another thread to read; the list cannot change until it ends.
using LentList = Lease<RenameList>;

inline std::string_view RenameRow::listedName() const {
    return RenameList::nameAt(m_list->m_listedText, m_list->m_listedStarts, m_index);
}
inline bool RenameRow::hasLastDot() const {
    return listedName().rfind('.') != std::string_view::npos;
}
inline std::string_view RenameRow::originalBase() const {
    const std::string_view listed = listedName();
    return listed.substr(0, listed.rfind('.'));
}
inline std::string_view RenameRow::extension() const {
    const std::string_view listed = listedName();
    const auto dot = listed.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : listed.substr(dot + 1);
}
inline std::string_view RenameRow::editedName() const {
    return RenameList::nameAt(m_list->editedText(), m_list->editedStarts(), m_index);
}
inline std::string_view RenameRow::editedBase() const {
    const std::string_view edited = editedName();
    return edited.substr(0, edited.size() - m_list->dotAndExtension(m_index).size());
}
inline RowStatus RenameRow::status() const {
    return m_list->m_marks[m_index].status;
}
inline RowFaults RenameRow::faults() const {
    return m_list->m_marks[m_index].faults;
}
inline bool RenameRow::leftOut() const {
    return m_list->m_marks[m_index].leftOut;
}

} // namespace velmorandi
