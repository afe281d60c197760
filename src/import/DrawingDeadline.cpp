#include "import/DrawingDeadline.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

// The watching thread, started with the first deadline and ended with the program.
class DrawingWatch {
 public:
  static DrawingWatch& instance() {
    static DrawingWatch watch;
    return watch;
  }

  void add(DrawingDeadline* d, int* flag, std::chrono::steady_clock::time_point at) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    d->m_id = ++m_lastId;
    m_entries.emplace(d->m_id, Entry{at, flag, d});
    m_changed.notify_all();
  }

  // Once this returns, `d` and its flag are not touched again.
  void remove(DrawingDeadline* d) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.erase(d->m_id);
  }

 private:
  struct Entry {
    std::chrono::steady_clock::time_point at;
    int* flag;
    DrawingDeadline* deadline;
  };

  DrawingWatch() = default;
  ~DrawingWatch() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
      m_changed.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
  }

  void run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
      if (m_entries.empty()) {
        m_changed.wait(lock);
        continue;
      }
      auto next = m_entries.begin();
      for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->second.at < next->second.at) next = it;
      // A copy: the entry may go while this waits.
      const std::chrono::steady_clock::time_point at = next->second.at;
      if (std::chrono::steady_clock::now() < at) {
        m_changed.wait_until(lock, at);
        continue;
      }
      // MuPDF reads the flag as a plain int; writing it whole is all it needs.
      std::atomic_ref<int>(*next->second.flag).store(1, std::memory_order_release);
      next->second.deadline->m_expired.store(true, std::memory_order_release);
      m_entries.erase(next);
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::map<std::uint64_t, Entry> m_entries;
  std::uint64_t m_lastId = 0;
  bool m_stop = false;
  std::thread m_thread;
};

DrawingDeadline::DrawingDeadline(int* abortFlag, std::chrono::milliseconds limit) : m_limit(limit) {
  if (limit.count() > 0 && abortFlag != nullptr)
    DrawingWatch::instance().add(this, abortFlag, std::chrono::steady_clock::now() + limit);
}

DrawingDeadline::~DrawingDeadline() {
  if (m_id != 0) DrawingWatch::instance().remove(this);
}
