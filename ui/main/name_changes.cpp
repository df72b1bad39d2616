#include "main/name_changes.h"

#include <QString>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace velmorandi {

namespace {

constexpr QChar kEllipsis(0x2026);

// Moved to the nearest edge of a whole character, before it or after it.
qsizetype toCharacterEdge(const QString& text, qsizetype position, bool after) {
    if (position <= 0 || position >= text.size())
        return position;
    QTextBoundaryFinder edges(QTextBoundaryFinder::Grapheme, text);
    edges.setPosition(position);
    if (edges.isAtBoundary())
        return position;
    const qsizetype edge = after ? edges.toNextBoundary() : edges.toPreviousBoundary();
    return edge < 0 ? position : edge;
}

} // namespace

TextSpan changedSpan(QStringView original, QStringView edited) {
    if (original == edited)
        return {};
    const qsizetype shorter = std::min(original.size(), edited.size());
    qsizetype head = 0;
    while (head < shorter && original[head] == edited[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           original[original.size() - 1 - tail] == edited[edited.size() - 1 - tail])
        ++tail;
    if (head + tail >= edited.size())
        return {}; // only taken away: nothing to show
    const QString text = edited.toString();
    return {toCharacterEdge(text, head, false), toCharacterEdge(text, edited.size() - tail, true)};
}

std::optional<MiddleCut> middleCutOf(QStringView name, QStringView shortened) {
    if (shortened.size() > name.size())
        return std::nullopt;
    // The name may hold an ellipsis of its own: the cut's is the one both ends fit.
    qsizetype shared = 0;
    while (shared < shortened.size() && shared < name.size() && shortened[shared] == name[shared])
        ++shared;
    for (qsizetype head = std::min(shared, shortened.size() - 1); head >= 0; --head) {
        const qsizetype tail = shortened.size() - head - 1;
        if (shortened[head] == kEllipsis && name.endsWith(shortened.last(tail)))
            return MiddleCut{head, tail};
    }
    return std::nullopt;
}

QList<TextSpan> shownChanges(TextSpan changed, qsizetype size, MiddleCut cut) {
    QList<TextSpan> shown;
    if (changed.isEmpty())
        return shown;
    const qsizetype tailStart = size - cut.tail; // where the tail begins in the name
    const qsizetype ellipsis = cut.head;         // and the ellipsis in the shortened name
    if (changed.begin < cut.head)
        shown.append({changed.begin, std::min(changed.end, cut.head)});
    if (changed.begin < tailStart && changed.end > cut.head)
        shown.append({ellipsis, ellipsis + 1});
    if (changed.end > tailStart) {
        const qsizetype shift = ellipsis + 1 - tailStart;
        shown.append({std::max(changed.begin, tailStart) + shift, changed.end + shift});
    }
    // Touching runs read as one.
    for (qsizetype i = shown.size() - 1; i > 0; --i)
        if (shown[i - 1].end == shown[i].begin) {
            shown[i - 1].end = shown[i].end;
            shown.removeAt(i);
        }
    return shown;
}

} // namespace velmorandi
