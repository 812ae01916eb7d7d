# Google Benchmark programs: bench/<name>_bench.cpp -> bench_<name>. Not run by ctest.
file(GLOB QUELL_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(src ${QUELL_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_compile_options(bench_${name} PRIVATE ${QUELL_WARNINGS})
  target_link_libraries(bench_${name} PRIVATE engine benchmark::benchmark)
  # Benchmarks set up their scenes with the header-only helpers of the tests.
  target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endforeach()
