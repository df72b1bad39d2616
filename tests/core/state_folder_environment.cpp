#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Every test process keeps its run journals in a folder of its own, never in
// the user's state folder, and never in one another test is using.
class PrivateStateFolder : public ::testing::Environment {
  public:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmorandi-state-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            FAIL() << "cannot create a state folder";
        m_path = pattern;
        ::setenv("XDG_STATE_HOME", m_path.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

  private:
    std::string m_path;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PrivateStateFolder);

} // namespace
