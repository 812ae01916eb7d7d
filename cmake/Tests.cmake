include(GoogleTest)
# One test program per file tests/<dir>/<name>_test.cpp, named test_<dir>_<name>.
# Labels: the folder name; "threads" for *_thread_test.cpp (also run under
# ThreadSanitizer); "window" for *_window_test.cpp (each on an Xvfb server of its own);
# "playthrough" for playthrough*_test.cpp (the whole game played through its
# window: run once, in the normal build only).
# Tests run with the run folder as working directory.
file(GLOB_RECURSE QUELL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
file(GLOB QUELL_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
if(QUELL_TEST_SUPPORT)
  add_library(test_support STATIC ${QUELL_TEST_SUPPORT})
  target_link_libraries(test_support PUBLIC engine GTest::gtest ${X11_LIBRARIES})
  target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests ${X11_INCLUDE_DIR})
endif()

# Tests never touch the player's real profile folder: errors logged while a
# test runs write their error-log files below the build folder instead.
set(QUELL_TEST_PROFILE ${CMAKE_BINARY_DIR}/test_profile)
file(MAKE_DIRECTORY ${QUELL_TEST_PROFILE})

# Every test program reuses one precompiled header, built by an otherwise
# empty object library with the test programs' own options.
file(WRITE ${CMAKE_BINARY_DIR}/test_pch.cpp "")
add_library(test_pch OBJECT ${CMAKE_BINARY_DIR}/test_pch.cpp)
target_compile_options(test_pch PRIVATE ${QUELL_WARNINGS})
target_include_directories(test_pch PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(test_pch PRIVATE engine GTest::gtest)
target_precompile_headers(test_pch PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/common_headers.h)

# Targets for the test runs: thread_tests, the threaded test programs (for
# ThreadSanitizer); test_programs, every test program with the game and its
# content but no benchmark (what a sanitizer build needs for ctest).
add_custom_target(thread_tests)
add_custom_target(test_programs)
foreach(src ${QUELL_TEST_SOURCES})
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/tests ${src})
  get_filename_component(dir ${rel} DIRECTORY)
  get_filename_component(name ${rel} NAME_WE)
  string(REPLACE "/" "_" dirname "${dir}")
  set(target test_${dirname}_${name})
  add_executable(${target} ${src})
  target_compile_options(${target} PRIVATE ${QUELL_WARNINGS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE engine GTest::gtest GTest::gtest_main GTest::gmock)
  target_precompile_headers(${target} REUSE_FROM test_pch)
  if(TARGET test_support)
    target_link_libraries(${target} PRIVATE test_support)
  endif()
  target_compile_definitions(${target} PRIVATE
    QUELL_RUN_DIR="${QUELL_RUN_DIR}" QUELL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(TARGET content_gen)
    target_compile_definitions(${target} PRIVATE QUELL_CONTENT_GEN="$<TARGET_FILE:content_gen>")
  endif()
  add_dependencies(${target} content quellbrand)
  add_dependencies(test_programs ${target})
  set(labels ${dirname})
  if(name MATCHES "_thread_test$")
    list(APPEND labels threads)
    add_dependencies(thread_tests ${target})
  endif()
  # The playthrough plays whole levels in real time: on a busy machine that
  # draws a frame a second it takes minutes longer, not a different verdict.
  set(timeout 300)
  if(name MATCHES "^playthrough")
    list(APPEND labels playthrough)
    set(timeout 900)
  endif()
  if(name MATCHES "_window_test$")
    list(APPEND labels window)
    # Each run (and the listing of its tests) gets an X server of its own.
    set_target_properties(${target} PROPERTIES
      CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/own_display.sh)
  endif()
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${QUELL_RUN_DIR}
    TEST_PREFIX "${dirname}."
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${timeout})
  # A list (two labels) does not survive gtest_discover_tests' PROPERTIES: it
  # is flattened into the property pairs, which loses the second label. Set
  # them on the discovered tests instead.
  set(properties_file ${CMAKE_BINARY_DIR}/${target}_properties.cmake)
  file(WRITE ${properties_file}
    "set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${labels}\" ENVIRONMENT \"UserProfile=${QUELL_TEST_PROFILE}\")\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties_file})
endforeach()
