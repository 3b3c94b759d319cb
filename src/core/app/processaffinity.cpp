// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/processaffinity.h"

#if defined(__linux__)
#include <sched.h>
#endif

bool PinToLowestAllowedCpu()
{
#if defined(__linux__)
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof(allowed), &allowed) != 0)
        return false;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(cpu, &one);
            return sched_setaffinity(0, sizeof(one), &one) == 0;
        }
    }
    return false;
#else
    return true; // no processor affinity on this system
#endif
}
