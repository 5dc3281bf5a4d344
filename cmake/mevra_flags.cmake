# Warning, exactness and sanitizer flags shared by every target of the project.
add_library(mevra_flags INTERFACE)
target_compile_options(mevra_flags INTERFACE
  -Wall -Wextra -Wpedantic
  # Colour arithmetic is specified to the bit: no fused multiply-add, no fast-math.
  -ffp-contract=off -fno-fast-math)

if(MEVRA_WERROR)
  target_compile_options(mevra_flags INTERFACE -Werror)
endif()

if(MEVRA_SANITIZE)
  # The sanitizer build is the test build: line tables are all its reports
  # need (-g1 instead of the full -g), which saves a quarter of the compile time.
  target_compile_options(mevra_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g1)
  target_link_options(mevra_flags INTERFACE -fsanitize=address,undefined)
endif()

if(MEVRA_FUZZ)
  # Coverage instrumentation for every target, so the fuzzers see into the core.
  target_compile_options(mevra_flags INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(mevra_flags INTERFACE -fsanitize=address,undefined)
endif()
