// What a record file does the same on every system.
#include "platform/record_files.h"

#include "platform/record_lease.h"

namespace velmorandi::platform {

bool RecordFile::takeLease(const RecordFolder& folder, const std::string& name,
                           SystemError& error) {
    if (!folder.leased())
        return true;
    Lease::Attempt attempt = Lease::take(folder, name);
    m_holder = std::move(attempt.holder);
    if (attempt.error)
        error = *attempt.error;
    m_lease = std::move(attempt.lease);
    return m_lease != nullptr;
}

LeaseStanding RecordFile::standing() {
    return m_lease ? m_lease->standing() : LeaseStanding::Held;
}

} // namespace velmorandi::platform
