// A time limit for one drawing by MuPDF: when it runs out, the abort flag of
// the drawing's cookie is set, as a cancel would, and MuPDF stops at its next
// check. One thread for the whole program watches every deadline in force.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

class DrawingDeadline {
 public:
  // Watches `abortFlag` (fz_cookie::abort) from now until destruction, and
  // sets it to 1 once `limit` has passed. A limit of zero or less watches
  // nothing.
  DrawingDeadline(int* abortFlag, std::chrono::milliseconds limit);
  // After it returns, the flag is left alone.
  ~DrawingDeadline();
  DrawingDeadline(const DrawingDeadline&) = delete;
  DrawingDeadline& operator=(const DrawingDeadline&) = delete;

  // True once the time ran out and the flag was set for it.
  bool expired() const { return m_expired.load(std::memory_order_acquire); }
  std::chrono::milliseconds limit() const { return m_limit; }

 private:
  friend class DrawingWatch;
  std::chrono::milliseconds m_limit;
  std::uint64_t m_id = 0;  // 0: not watched
  std::atomic<bool> m_expired{false};
};
