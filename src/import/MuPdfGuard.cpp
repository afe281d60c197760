#include "import/MuPdfGuard.h"

#include <cstdio>

int MuPdfGuard::run(fz_context* ctx, Body body, void* data, char* message, size_t messageSize) {
  fz_try(ctx) { body(data); }
  fz_catch(ctx) {
    // Leaving from fz_catch is allowed (unlike from fz_try): the try level is popped.
    const int code = fz_caught(ctx);
    std::snprintf(message, messageSize, "%s", fz_caught_message(ctx));
    return code != FZ_ERROR_NONE ? code : FZ_ERROR_GENERIC;
  }
  return FZ_ERROR_NONE;
}
