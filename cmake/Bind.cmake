# The script module "bind": SWIG generates its Lua wrapper from
# source/bind/bind.i at build time (the generated code is never committed)
# into the static library "bind", which every user of "engine" links.
include(UseSWIG)

set(QUELL_BIND_DIR ${CMAKE_SOURCE_DIR}/source/bind)
set(QUELL_BIND_INTERFACE ${QUELL_BIND_DIR}/bind.i)
set(QUELL_BIND_OUT ${CMAKE_BINARY_DIR}/bind)

set_property(SOURCE ${QUELL_BIND_INTERFACE} PROPERTY CPLUSPLUS ON)
# Regenerate when any included .i file changes (SWIG writes a depfile).
set_property(SOURCE ${QUELL_BIND_INTERFACE} PROPERTY USE_SWIG_DEPENDENCIES TRUE)
set_property(SOURCE ${QUELL_BIND_INTERFACE} PROPERTY INCLUDE_DIRECTORIES
  ${QUELL_BIND_DIR} ${CMAKE_SOURCE_DIR}/source)

swig_add_library(bind TYPE STATIC LANGUAGE lua
  OUTPUT_DIR ${QUELL_BIND_OUT}
  OUTFILE_DIR ${QUELL_BIND_OUT}
  SOURCES ${QUELL_BIND_INTERFACE})

# The wrapper is SWIG's code, not ours: its warnings are not ours to fix.
set_property(TARGET bind PROPERTY SWIG_GENERATED_COMPILE_OPTIONS -w)

# The wrapper calls into the engine and the engine (LuaManager) opens the
# module: a cycle between two static libraries, which CMake links by
# repeating them on the link line.
target_link_libraries(bind PRIVATE engine)
target_link_libraries(engine PUBLIC bind)
