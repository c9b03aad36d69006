# Sanitizer and fuzzer instrumentation for every target of the project.
#
# KALVORO_SANITIZE (a list such as "address;undefined") is applied target by
# target once every directory has been added, so no target can be missed and
# no global CMAKE_CXX_FLAGS is needed. With KALVORO_BUILD_FUZZERS the code is
# also instrumented for libFuzzer's coverage feedback (fuzzer-no-link); the
# fuzz executables link the fuzzer itself (fuzz/CMakeLists.txt).

set(KALVORO_SANITIZE "" CACHE STRING "Sanitizers for every project target, e.g. address;undefined")

# The targets defined in `dir` and below it.
function(_kalvoro_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _kalvoro_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(kalvoro_instrument_targets)
  set(checks ${KALVORO_SANITIZE})
  if(KALVORO_BUILD_FUZZERS)
    list(APPEND checks fuzzer-no-link)
  endif()
  if(NOT checks)
    return()
  endif()
  list(JOIN checks "," joined)
  # A report ends the run (a test that only prints one would still pass), and
  # frame pointers keep the reports' stacks readable.
  set(flags -fsanitize=${joined} -fno-omit-frame-pointer)
  if(KALVORO_SANITIZE)
    list(APPEND flags -fno-sanitize-recover=all)
  endif()
  _kalvoro_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|OBJECT_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$")
      target_compile_options(${target} PRIVATE ${flags})
      target_link_options(${target} PRIVATE ${flags})
    endif()
  endforeach()
endfunction()
