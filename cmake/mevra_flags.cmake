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

# In the sanitizer (test) build, compiles a target's sources a batch at a time
# (batch 0: all in one), so the inline code of heavy header libraries (CLI11,
# GoogleTest, Qt) is instrumented once a batch instead of once a file. Other
# builds compile every file on its own, which keeps each file's includes honest.
function(mevra_batch_sources target batch)
  if(MEVRA_SANITIZE)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${batch})
  endif()
endfunction()
