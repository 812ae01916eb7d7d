# Google Benchmark programs: bench/<name>_bench.cpp -> bench_<name>. Not run by ctest.
file(GLOB QUELL_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(src ${QUELL_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_compile_options(bench_${name} PRIVATE ${QUELL_WARNINGS})
  target_link_libraries(bench_${name} PRIVATE engine benchmark::benchmark)
  # Benchmarks that read game content find it in the run folder.
  target_compile_definitions(bench_${name} PRIVATE QUELL_RUN_DIR="${QUELL_RUN_DIR}")
  add_dependencies(bench_${name} content)
endforeach()
