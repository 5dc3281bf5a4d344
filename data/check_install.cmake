# Runs `cmake --install` into PREFIX and fails unless every path of EXPECTED
# ("|"-separated, relative to PREFIX) exists afterwards.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
string(REPLACE "|" ";" expected "${EXPECTED}")
foreach(path ${expected})
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
