#include "base/AvailableCores.h"

#include <sched.h>
#include <unistd.h>

#include <QFile>
#include <QList>
#include <algorithm>

namespace AvailableCores {

namespace {

// The control files are a line of text; anything longer is not one of them.
QByteArray readSmall(const char* path) {
  QFile f(QString::fromLatin1(path));
  return f.open(QIODevice::ReadOnly) ? f.read(256).trimmed() : QByteArray();
}

int quotaCores(qint64 quota, qint64 period) {
  if (quota <= 0 || period <= 0) return 0;
  return static_cast<int>(std::min<qint64>((quota + period - 1) / period, 1 << 16));
}

}  // namespace

int fromCpuMax(const QByteArray& text) {
  const QList<QByteArray> words = text.simplified().split(' ');
  if (words.size() != 2) return 0;
  bool quotaOk = false;
  bool periodOk = false;
  const qint64 quota = words[0].toLongLong(&quotaOk);
  const qint64 period = words[1].toLongLong(&periodOk);
  return quotaOk && periodOk ? quotaCores(quota, period) : 0;
}

int fromCfs(const QByteArray& quota, const QByteArray& period) {
  bool quotaOk = false;
  bool periodOk = false;
  const qint64 q = quota.trimmed().toLongLong(&quotaOk);  // -1: no quota
  const qint64 p = period.trimmed().toLongLong(&periodOk);
  return quotaOk && periodOk ? quotaCores(q, p) : 0;
}

int count() {
  int cores = 0;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0) cores = CPU_COUNT(&set);
  if (cores <= 0) cores = static_cast<int>(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
  int quota = fromCpuMax(readSmall("/sys/fs/cgroup/cpu.max"));
  if (quota == 0)
    quota =
        fromCfs(readSmall("/sys/fs/cgroup/cpu/cpu.cfs_quota_us"), readSmall("/sys/fs/cgroup/cpu/cpu.cfs_period_us"));
  if (quota > 0) cores = std::min(cores, quota);
  return std::max(cores, 1);
}

}  // namespace AvailableCores
