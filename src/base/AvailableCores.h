// How many processor cores this process may use: the cores it may run on
// (taskset, cpusets), fewer when its control group has a CPU quota (a
// container's "cpus" or a pod's CPU limit), which the core count of the
// machine does not show.
#pragma once

#include <QByteArray>

namespace AvailableCores {

// At least 1.
int count();

// The cores a quota allows, rounded up: from cgroup v2 "cpu.max" text
// ("max 100000", "150000 100000") or the two cgroup v1 numbers; 0 when there
// is no quota or the text is not one.
int fromCpuMax(const QByteArray& text);
int fromCfs(const QByteArray& quota, const QByteArray& period);

}  // namespace AvailableCores
