#pragma once

#include <QList>
#include <QStringView>

#include <optional>

namespace velmorandi {

// Characters begin to end (not included) of a text.
struct TextSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    bool isEmpty() const { return begin >= end; }
    bool operator==(const TextSpan&) const = default;
};

// What an edit changed in a name: the characters of `edited` between the start
// and the end it shares with `original`, widened to whole characters as they
// are seen (an accent with its letter).
TextSpan changedSpan(QStringView original, QStringView edited);

// A name shortened in the middle: its first `head` characters, an ellipsis,
// then its last `tail` characters.
struct MiddleCut {
    qsizetype head = 0;
    qsizetype tail = 0;
};
// Where `shortened` cut `name`; nothing when it is not `name` shortened so.
std::optional<MiddleCut> middleCutOf(QStringView name, QStringView shortened);

// The changed characters of a name of `size` characters as they show in it
// shortened by `cut`: the ellipsis counts as changed where it hides a change.
QList<TextSpan> shownChanges(TextSpan changed, qsizetype size, MiddleCut cut);

} // namespace velmorandi
