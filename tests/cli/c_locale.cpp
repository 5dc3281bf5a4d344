// Every mevra-cli the tests start runs under the C locale, whatever the
// runner's, so it prints the program's own texts unless a test names a
// language itself (ctest's ENVIRONMENT cannot carry a second variable here:
// the test discovery splits the list).
#include <cstdlib>

namespace {

[[maybe_unused]] const bool c_locale = [] {
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("LANGUAGE");
    return true;
}();

}  // namespace
