# Google Benchmark programs: bench/<name>_bench.cpp -> bench_<name>. Not run by ctest.
# A benchmark of the game's content finds it in the run folder (QUELL_RUN_DIR)
# and may use the test helpers that load it.
# Bullet is a yardstick for the collision benchmark only; the game never links it.
find_package(Bullet REQUIRED)
file(GLOB QUELL_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(src ${QUELL_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_compile_options(bench_${name} PRIVATE ${QUELL_WARNINGS})
  target_precompile_headers(bench_${name} REUSE_FROM engine)
  target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(bench_${name} PRIVATE QUELL_RUN_DIR="${QUELL_RUN_DIR}")
  target_link_libraries(bench_${name} PRIVATE engine benchmark::benchmark)
  add_dependencies(bench_${name} content)
endforeach()
target_include_directories(bench_collision_bench SYSTEM PRIVATE ${BULLET_INCLUDE_DIRS})
target_link_libraries(bench_collision_bench PRIVATE ${BULLET_LIBRARIES})
# The scene benchmark writes its last frame with the content generator's PNG writer.
target_sources(bench_scene_frame_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools/png_writer.cpp)
target_include_directories(bench_scene_frame_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools)
# The soak runs the game in its own process, played through the window with
# the playthrough's test content and X helpers.
target_link_libraries(bench_soak_bench PRIVATE test_support)
# The heaviest scene runs the real game in its own process (a profile folder
# of its own) and writes its frame with the same PNG writer.
target_sources(bench_heaviest_scene_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools/png_writer.cpp)
target_include_directories(bench_heaviest_scene_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(bench_heaviest_scene_bench PRIVATE test_support)
