#include "samecpu.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <QFile>

namespace quillon::bench {

namespace {

// A number from the server is only a process here when the server runs on
// this machine, in this process namespace: its name says so.
bool isServerProcess(qint64 pid)
{
    QFile comm(QString("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) && comm.readAll().startsWith("postgres");
}

void tellOnce(const char* why)
{
    static bool told = false;
    if (!told)
        std::fprintf(stderr,
                     "server processes not placed beside the bench (%s): paired server "
                     "ratios then depend on where the system runs them\n",
                     why);
    told = true;
}

} // namespace

SameCpu::SameCpu(const QList<qint64>& serverProcesses)
{
    if (serverProcesses.isEmpty())
        return;
    const int cpu = sched_getcpu();
    if (cpu < 0) {
        tellOnce(std::strerror(errno));
        return;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    std::vector<pid_t> all{0};
    for (qint64 pid : serverProcesses) {
        if (!isServerProcess(pid)) {
            tellOnce("the server runs elsewhere");
            return;
        }
        all.push_back(pid_t(pid));
    }
    for (pid_t pid : all) {
        cpu_set_t before;
        if (sched_getaffinity(pid, sizeof before, &before) != 0 ||
            sched_setaffinity(pid, sizeof one, &one) != 0) {
            const int error = errno;
            restore();
            tellOnce(std::strerror(error));
            return;
        }
        m_moved.emplace_back(pid, before);
    }
}

SameCpu::~SameCpu()
{
    restore();
}

void SameCpu::restore()
{
    // A server process gone with its connection needs nothing back.
    for (const auto& [pid, before] : m_moved)
        sched_setaffinity(pid, sizeof before, &before);
    m_moved.clear();
}

} // namespace quillon::bench
