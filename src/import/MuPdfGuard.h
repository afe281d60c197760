// Runs MuPDF calls inside fz_try and turns MuPDF's errors into ImportError.
// Only for src/import's .cpp files: it pulls in the MuPDF headers.
//
// fz_try is setjmp/longjmp. A longjmp that skips a C++ destructor is undefined
// behaviour, so the body given to guarded() must call only MuPDF's C functions
// and write only plain values (pointers, numbers) that it captures by reference.
// Nothing with a destructor may live inside it, and it must not throw.
#pragma once

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <QString>
#include <cstddef>
#include <type_traits>

#include "import/ImportError.h"

namespace MuPdfGuard {

using Body = void (*)(void* data);

// Runs body(data) under fz_try. Returns 0, or MuPDF's error code with its
// message copied into `message`.
int run(fz_context* ctx, Body body, void* data, char* message, size_t messageSize);

template <typename Fn>
void guarded(fz_context* ctx, Fn&& fn) {
  char message[512];
  message[0] = '\0';
  using F = std::remove_reference_t<Fn>;
  const int code = run(
      ctx, [](void* data) { (*static_cast<F*>(data))(); }, const_cast<void*>(static_cast<const void*>(&fn)), message,
      sizeof message);
  if (code != 0) throw ImportError(QString::fromUtf8(message), code);
}

// Owns one MuPDF object and drops it when it goes out of scope. Declared
// outside guarded() bodies, so a MuPDF error never skips the drop; objects
// that use others are declared after them and so dropped first.
template <typename T, void (*Drop)(fz_context*, T*)>
struct Owned {
  fz_context* ctx;
  T* ptr = nullptr;
  explicit Owned(fz_context* c) : ctx(c) {}
  ~Owned() { Drop(ctx, ptr); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
};

}  // namespace MuPdfGuard
