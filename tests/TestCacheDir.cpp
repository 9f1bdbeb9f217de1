// Linked into every test program: what a test caches (the word cache among
// others) goes into the build tree, never into the user's own cache, also
// when the program is run by hand rather than by ctest.
#include <cstdlib>

namespace {

const int CacheDirSet = ::setenv("XDG_CACHE_HOME", MZ_TEST_CACHE_DIR, 1);

} // namespace
