#include "on_platform.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using velmorandi::testing::fileSystemPath;
using velmorandi::testing::kUnusualName;

// Every test process keeps its run journals in a folder of its own, never in
// the user's state folder, and never in one another test is using. Its name
// is one the system's code page cannot say, as a user's folder may be.
class PrivateStateFolder : public ::testing::Environment {
  public:
    void SetUp() override {
        m_parent.emplace();
        const std::string path = m_parent->at("state " + kUnusualName);
        ASSERT_TRUE(std::filesystem::create_directory(fileSystemPath(path)));
        velmorandi::testing::setEnvironmentVariable(velmorandi::testing::kStateVariable, path);
    }
    void TearDown() override { m_parent.reset(); }

  private:
    std::optional<velmorandi::testing::TempFolder> m_parent;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PrivateStateFolder);

} // namespace
