#include "run/read_back.h"

namespace velmorandi {

ReadBack::ReadBack(LentList rows, std::string folder, const Disk& disk)
    : m_rows(std::move(rows)), m_folder(std::move(folder)), m_disk(disk) {}

ReadBack::~ReadBack() {
    m_runCompleted.give(false);
    m_task.join();
}

void ReadBack::start() {
    m_started = true;
    m_task.start([this] { work(); });
}

bool ReadBack::folderHoldsThem(NewNamesOrder& order) {
    m_runCompleted.give(true);
    if (!m_started)
        start();
    m_task.wait();
    order = std::move(m_order);
    return m_holds;
}

void ReadBack::work() {
    m_order = orderNewNames(*m_rows, m_folder);
    if (m_runCompleted.await())
        m_holds = folderHoldsNewNames(m_folder, *m_rows, m_disk);
}

} // namespace velmorandi
