#include "base/SpareCores.h"

#include <sched.h>

#include <thread>

namespace kobalto {

namespace {

thread_local int t_spareCores = -1;  // -1: what the process may use

unsigned UsableCores()
{
    // The affinity mask, not the machine: a run confined with taskset or a
    // container's cpuset has only those.
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    return std::thread::hardware_concurrency();
}

}  // namespace

unsigned SpareCores()
{
    if (t_spareCores >= 0)
        return static_cast<unsigned>(t_spareCores);
    static const unsigned cores = UsableCores();
    return cores > 1 ? cores - 1 : 0;
}

ScopedSpareCores::ScopedSpareCores(unsigned cores) : previous_(t_spareCores)
{
    t_spareCores = static_cast<int>(cores);
}

ScopedSpareCores::~ScopedSpareCores() { t_spareCores = previous_; }

}  // namespace kobalto
