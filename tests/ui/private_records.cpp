// Every window test keeps the records of the runs it makes, and its single-
// instance lock, in a folder of its own: never the user's, and never one that
// another test is using or that earlier runs filled. The processes a test
// starts (the program's own start-up, a second instance) share its folder.
#include "records_folder.h"

#include <QTemporaryDir>

#include <optional>

namespace {

const char kShared[] = "VELMORANDI_TEST_RECORDS_SHARED";

struct PrivateRecords {
    PrivateRecords() {
        if (qEnvironmentVariableIsSet(kShared))
            return;
        folder.emplace();
        velmorandi::test::keepRecordsUnder(folder->path());
        qputenv(kShared, "1");
    }
    std::optional<QTemporaryDir> folder;
};

const PrivateRecords records;

} // namespace
