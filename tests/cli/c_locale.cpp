// Every mevra-cli the tests start runs under the C locale, whatever the
// runner's (ctest's ENVIRONMENT would split a second variable off).
#include <cstdlib>

[[maybe_unused]] static const bool c_locale =
    setenv("LC_ALL", "C.UTF-8", 1) == 0 && unsetenv("LANGUAGE") == 0;
