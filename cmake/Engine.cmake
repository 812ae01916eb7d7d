# One engine library that the game, the tools, the tests and the benchmarks link.
set(QUELL_WARNINGS -Wall -Wextra)

file(GLOB_RECURSE QUELL_ENGINE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/source/*.cpp)
list(REMOVE_ITEM QUELL_ENGINE_SOURCES ${CMAKE_SOURCE_DIR}/source/main.cpp)

add_library(engine STATIC ${QUELL_ENGINE_SOURCES})
target_include_directories(engine PUBLIC ${CMAKE_SOURCE_DIR}/source)
target_include_directories(engine SYSTEM PUBLIC
  ${LUA_INCLUDE_DIR} ${SDL_MIXER_INCLUDE_DIRS})
target_compile_options(engine PRIVATE ${QUELL_WARNINGS})
target_precompile_headers(engine PRIVATE ${CMAKE_SOURCE_DIR}/cmake/engine_pch.h)
target_link_libraries(engine PUBLIC
  SDL::SDL ${SDL_MIXER_LIBRARIES} OpenGL::GL GLEW::GLEW ${LUA_LIBRARIES}
  Boost::thread Boost::chrono PkgConfig::TINYXML PNG::PNG
  Threads::Threads)

include(cmake/Bind.cmake OPTIONAL)

# The run folder: the game beside resource/, scripts/ and shaders/, so that
# its relative paths resolve.
set(QUELL_RUN_DIR ${CMAKE_BINARY_DIR}/run)
add_executable(quellbrand ${CMAKE_SOURCE_DIR}/source/main.cpp)
target_compile_options(quellbrand PRIVATE ${QUELL_WARNINGS})
target_link_libraries(quellbrand PRIVATE engine)
set_target_properties(quellbrand PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUELL_RUN_DIR})
