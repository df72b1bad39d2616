# Sourced by bench/run for "wine": the rename under Wine, in build-windows/ (made once by
# tools/windows/package.sh), in a Wine prefix of its own (build-windows/bench-prefix).
#   1. The file calls of one run of VELMORANDI_WINE_CALL_FILES (10,000) files, per file and
#      by kind, from Wine's relay trace of the functions below (count_calls.py).
#   2. For each of VELMORANDI_WINE_FILES (1,000 10,000 100,000) files: one look-up of a name
#      the folder lacks and of one it has, the run, and the bare loop of renames, each
#      stopped after VELMORANDI_WINE_SECONDS (60) at most.

# The file functions of kernel32 and kernelbase, the NT calls beneath them, and the mark
# the bench passes around the run; a relay of everything would be mostly the heap.
WINE_TRACED_CALLS="OutputDebugStringA;CreateFileW;CloseHandle;MoveFileExW;MoveFileWithProgressW;\
DeleteFileW;CreateHardLinkW;FindFirstFileExW;FindNextFileW;FindClose;GetFileAttributesW;\
GetFileAttributesExW;GetFileInformationByHandle;GetFileInformationByHandleEx;\
SetFileInformationByHandle;ReadFile;WriteFile;FlushFileBuffers;GetFullPathNameW;GetFileType;\
LockFileEx;UnlockFileEx;SetFilePointerEx;GetFileSizeEx;CompareStringOrdinal;\
GetVolumeInformationByHandleW;GetFinalPathNameByHandleW;CreateDirectoryW;RemoveDirectoryW;\
NtCreateFile;NtOpenFile;NtClose;NtSetInformationFile;NtQueryInformationFile;\
NtQueryDirectoryFile;NtQueryDirectoryFileEx;NtQueryAttributesFile;NtQueryFullAttributesFile;\
NtFlushBuffersFile;NtReadFile;NtWriteFile;NtQueryVolumeInformationFile;NtLockFile;\
NtUnlockFile;NtFsControlFile"

# wine_files FOLDER COUNT: COUNT empty files named as a camera names them, made from Linux:
# under Wine each new name would cost a scan of the folder.
wine_files() {
    mkdir "$1"
    (cd "$1" && seq -f 'IMG_%06g.JPG' 1 "$2" | xargs touch)
}

wine_path() {
    local path=$1
    echo "Z:${path//\//\\}"
}

run_wine_area() {
    local build="$VELMORANDI_ROOT/build-windows"
    if [ ! -f "$build/build.ninja" ]; then
        echo "bench/run wine: run tools/windows/package.sh once first" >&2
        return 1
    fi
    cmake --build "$build" --target velmorandi_wine_bench >/dev/null
    local bench="$build/bench/windows/velmorandi_wine_bench.exe"
    local run="$build/wine-run.sh"
    local counter="$VELMORANDI_ROOT/bench/windows/count_calls.py"
    export WINEPREFIX="$build/bench-prefix"
    "$run" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
        /d "$WINE_TRACED_CALLS" /f >/dev/null 2>&1
    local parent
    parent=$(mktemp -d "${VELMORANDI_BENCH_DIR:-/var/tmp}/velmorandi-wine-XXXXXX")
    # shellcheck disable=SC2064
    trap "rm -rf '$parent'" EXIT

    local files=${VELMORANDI_WINE_CALL_FILES:-10000}
    wine_files "$parent/calls" "$files"
    WINEDEBUG=+relay "$run" "$bench" run "$(wine_path "$parent/calls")" 2>&1 >/dev/null |
        python3 "$counter" "$files"
    rm -rf "$parent/calls"

    local seconds=${VELMORANDI_WINE_SECONDS:-60}
    for files in ${VELMORANDI_WINE_FILES:-1000 10000 100000}; do
        wine_files "$parent/run" "$files"
        "$run" "$bench" lookups "$(wine_path "$parent/run")"
        "$run" "$bench" run "$(wine_path "$parent/run")" "$seconds"
        rm -rf "$parent/run"
        wine_files "$parent/loop" "$files"
        "$run" "$bench" loop "$(wine_path "$parent/loop")" "$seconds"
        rm -rf "$parent/loop"
    done
}
