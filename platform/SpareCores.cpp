#include "platform/SpareCores.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace kobalto::platform {

namespace {

thread_local int t_spareCores = -1;  // -1: ask the system

unsigned UsableCores()
{
    // The affinity mask, not the machine: a run confined with taskset or a
    // container's cpuset has only those.
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    return std::thread::hardware_concurrency();
}

// Threads of the whole system ready to run right now, the caller included;
// 1 when that cannot be read. A second thread on a core another program
// keeps busy would only cost more time in all.
unsigned RunningNow()
{
    unsigned running = 1;
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        unsigned r = 0;
        if (std::fscanf(f, "%*s %*s %*s %u/", &r) == 1 && r > 0)
            running = r;
        std::fclose(f);
    }
    return running;
}

}  // namespace

unsigned SpareCores()
{
    if (t_spareCores >= 0)
        return static_cast<unsigned>(t_spareCores);
    static const unsigned cores = UsableCores();
    unsigned busy = RunningNow();
    // A program starting or ending holds a core for a millisecond or so,
    // which says nothing of the time ahead: before deciding that no core is
    // idle, look again a few times over about that long.
    for (int look = 0; look < 4 && cores > 1 && busy >= cores; ++look) {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        busy = std::min(busy, RunningNow());
    }
    return cores > busy ? cores - busy : 0;
}

ScopedSpareCores::ScopedSpareCores(unsigned cores) : previous_(t_spareCores)
{
    t_spareCores = static_cast<int>(cores);
}

ScopedSpareCores::~ScopedSpareCores() { t_spareCores = previous_; }

}  // namespace kobalto::platform
