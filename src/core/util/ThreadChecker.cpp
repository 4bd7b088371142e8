#include "core/util/ThreadChecker.h"

#include <cstdio>
#include <cstdlib>

namespace vimbo::util {

void threadCheckFailed(const char* expected, SourceLocation where) {
    std::fprintf(stderr, "Vimbo: %s (%s:%u) must run on %s\n", where.function_name(), where.file_name(),
                 static_cast<unsigned>(where.line()), expected);
    std::abort();
}

} // namespace vimbo::util
