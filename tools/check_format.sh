#!/usr/bin/env bash
# Every C++ file of the program, its tests and its benchmark as clang-format lays it out
# (.clang-format at the root). Prints each file that differs and how, exits with 1 if any.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
clang_format=${CLANG_FORMAT:-clang-format}
status=0
while IFS= read -r -d '' file; do
    if ! "$clang_format" --dry-run -Werror "$file" 2>/dev/null; then
        echo "$file is not laid out as clang-format lays it out:"
        "$clang_format" "$file" | diff -u "$file" - | head -n 20 || true
        status=1
    fi
done < <(find app core ui tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
exit $status
