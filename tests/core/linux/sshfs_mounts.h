#pragma once

#include "temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace velmorandi::testing {

// `count` sshfs mounts of one folder, through sshd on this machine
// (bench/net_rig_mounts.sh), as machines sharing a network home see it.
class SshfsMounts {
  public:
    SshfsMounts(int count, const std::string& options = "default") {
        if (::geteuid() != 0 || !std::filesystem::exists("/dev/fuse")) {
            m_skipReason = "an sshfs mount of the test's own needs root and /dev/fuse";
            return;
        }
        const TempFolder answer;
        const std::string file = answer.at("rig");
        if (std::system((std::string(kScript) + " start " + std::to_string(count) + " " + file +
                         " " + options + " >" + answer.at("log") + " 2>&1")
                            .c_str()) != 0) {
            std::ifstream log(answer.at("log"));
            m_skipReason =
                "the rig did not start: " +
                std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
            return;
        }
        std::ifstream(file) >> m_folder;
    }
    ~SshfsMounts() {
        if (!m_folder.empty())
            static_cast<void>(std::system(
                (std::string(kScript) + " stop " + m_folder + " >/dev/null 2>&1").c_str()));
    }
    const std::string& skipReason() const { return m_skipReason; }
    std::string mount(int i) const { return m_folder + "/mount" + std::to_string(i + 1); }

  private:
    static constexpr const char* kScript = VELMORANDI_SOURCE_DIR "/bench/net_rig_mounts.sh";
    std::string m_folder;
    std::string m_skipReason;
};

} // namespace velmorandi::testing
