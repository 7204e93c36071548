#pragma once

#include <QList>
#include <sched.h>
#include <vector>

namespace quillon::bench {

// Runs this process and the given server processes on the one CPU this
// process is on, for as long as it lives. On a shared machine the system
// keeps each server process where it first settled, and a round trip to
// one on the other CPU costs a wake-up across CPUs that one beside the
// client does not: two catalogues compared through two connections would
// otherwise differ by where their processes happen to run (the same
// create 0.7x to 1.9x). Together on one CPU every round trip costs the
// least, so the server's own work weighs the most. All or nothing: when
// one process cannot be moved (another user's, or not on this machine),
// nothing is, and it says so once.
class SameCpu final {
public:
    explicit SameCpu(const QList<qint64>& serverProcesses);
    ~SameCpu();
    SameCpu(const SameCpu&) = delete;
    SameCpu& operator=(const SameCpu&) = delete;

private:
    void restore();

    // Each process moved, with the CPUs it had; this process first.
    std::vector<std::pair<pid_t, cpu_set_t>> m_moved;
};

} // namespace quillon::bench
