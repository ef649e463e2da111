// Every test program finds the executable's resources, as the program does
// from its first step on: the table is handed in before the tests run.
#include "resources/embedded_blobs.h"

namespace {
[[maybe_unused]] const bool provided = (provideProgramResources(), true);
}  // namespace
