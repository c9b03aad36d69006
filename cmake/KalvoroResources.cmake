# kalvoro_add_resources(<target> <rc file>): the program's icon and version
# information. The icon is drawn at build time by tools/icon/make_icon.cpp,
# a plain C++ program built for the build machine (with the host compiler
# when cross-compiling), and the resource script picks up the .ico from the
# binary directory.
function(kalvoro_add_resources target rc_file)
  set(generator_source ${PROJECT_SOURCE_DIR}/tools/icon/make_icon.cpp)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/kalvoro.ico)
  if(CMAKE_CROSSCOMPILING)
    find_program(KALVORO_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
    set(generator ${CMAKE_CURRENT_BINARY_DIR}/make_icon_host)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${KALVORO_HOST_CXX} -std=c++20 -O2 -o ${generator} ${generator_source}
      COMMAND ${generator} ${icon}
      DEPENDS ${generator_source}
      COMMENT "Drawing the program icon"
      VERBATIM)
  else()
    if(NOT TARGET make_icon)
      add_executable(make_icon ${generator_source})
      kalvoro_target_options(make_icon)
    endif()
    add_custom_command(OUTPUT ${icon}
      COMMAND make_icon ${icon}
      DEPENDS make_icon
      COMMENT "Drawing the program icon"
      VERBATIM)
  endif()
  add_custom_target(${target}_icon DEPENDS ${icon})
  add_dependencies(${target} ${target}_icon)
  target_sources(${target} PRIVATE ${rc_file})
  set_source_files_properties(${rc_file} PROPERTIES
    OBJECT_DEPENDS ${icon}
    INCLUDE_DIRECTORIES "${CMAKE_CURRENT_BINARY_DIR};${PROJECT_SOURCE_DIR}")
endfunction()
