# kalvoro_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>])
# One GoogleTest executable registered with ctest. Under the Windows preset
# ctest runs it through CMAKE_CROSSCOMPILING_EMULATOR (Wine), in the run's
# Wine prefix: KALVORO_WINE_FIXTURE names the ctest fixture that creates it
# and KALVORO_WINE_ENVIRONMENT the variables that select it.
# Every test program runs under the evaluation rule (tests/support/test_main.cpp).
function(kalvoro_add_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT TARGET kalvoro_test_main)
    add_library(kalvoro_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
    target_link_libraries(kalvoro_test_main PUBLIC kalvoro_calc GTest::gtest)
    kalvoro_target_options(kalvoro_test_main)
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} kalvoro_test_main GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  kalvoro_target_options(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(arg_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${arg_LABELS}")
  endif()
  if(KALVORO_WINE_FIXTURE)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED ${KALVORO_WINE_FIXTURE}
      ENVIRONMENT "${KALVORO_WINE_ENVIRONMENT}")
  endif()
endfunction()
