option(LREVERB_BUILD_TESTS "Build the test programs" ON)
if(NOT LREVERB_BUILD_TESTS)
  return()
endif()
enable_testing()

if(WIN32)
  # GoogleTest cross-built from Debian's source package; the tests run under Wine.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  target_compile_options(gtest PRIVATE -w)
  # GoogleTest makes its Notification of std::mutex and std::condition_variable, which the win32
  # thread model's standard library lacks: GoogleTest and every test read a replacement first.
  target_compile_options(gtest PUBLIC
    "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${PROJECT_SOURCE_DIR}/tests/common/gtest_notification_win32.h>")
  target_link_libraries(gtest PUBLIC lreverb_flags)
else()
  find_package(GTest REQUIRED)
endif()

# lreverb_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [ARGS ...])
# One test program, registered as one CTest test; on the Win32 build it runs under Wine. ARGS are
# passed to the program (a --gtest_filter, say).
function(lreverb_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main lreverb_flags)
  lreverb_register_test(${name} ${name} ${T_ARGS})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# lreverb_register_test(<test name> <program> [ARGS...])
# Registers one more CTest test running a test program, e.g. a slow part of it on its own.
function(lreverb_register_test test program)
  add_test(NAME ${test} COMMAND ${program} --gtest_color=no ${ARGN})
  if(WIN32)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "LREVERB_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" RUN_SERIAL ON)
  endif()
endfunction()
