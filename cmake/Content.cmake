# Lays out the run folder: hand-written content is copied, generated content is
# written by our own generator. Nothing generated is committed.
file(GLOB_RECURSE QUELL_HANDWRITTEN CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resource/*
  ${CMAKE_SOURCE_DIR}/scripts/*
  ${CMAKE_SOURCE_DIR}/shaders/*)

# A fresh clone has no folder that holds no tracked file, so copy only those
# that exist; the run folder always gets all three.
set(QUELL_COPY_COMMANDS)
foreach(folder resource scripts shaders)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${folder})
    list(APPEND QUELL_COPY_COMMANDS COMMAND ${CMAKE_COMMAND} -E copy_directory
      ${CMAKE_SOURCE_DIR}/${folder} ${QUELL_RUN_DIR}/${folder})
  endif()
endforeach()

set(QUELL_COPY_STAMP ${CMAKE_BINARY_DIR}/content_copy.stamp)
add_custom_command(OUTPUT ${QUELL_COPY_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUELL_RUN_DIR}/resource ${QUELL_RUN_DIR}/scripts ${QUELL_RUN_DIR}/shaders
  ${QUELL_COPY_COMMANDS}
  COMMAND ${CMAKE_COMMAND} -E touch ${QUELL_COPY_STAMP}
  DEPENDS ${QUELL_HANDWRITTEN}
  COMMENT "Copying hand-written content into the run folder")

file(GLOB_RECURSE QUELL_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
if(QUELL_TOOL_SOURCES)
  add_executable(content_gen ${QUELL_TOOL_SOURCES})
  target_compile_options(content_gen PRIVATE ${QUELL_WARNINGS})
  target_precompile_headers(content_gen REUSE_FROM engine)
  target_include_directories(content_gen PRIVATE ${CMAKE_SOURCE_DIR}/tools)
  target_link_libraries(content_gen PRIVATE engine PNG::PNG Freetype::Freetype)
  set(QUELL_GEN_STAMP ${CMAKE_BINARY_DIR}/content_gen.stamp)
  # The contact sheet (every registry texture, labelled) lands beside the
  # run folder, not in it: the game never reads it.
  set(QUELL_CONTACT_SHEET ${CMAKE_BINARY_DIR}/contact_sheet.png)
  add_custom_command(OUTPUT ${QUELL_GEN_STAMP}
    COMMAND content_gen ${QUELL_RUN_DIR} ${QUELL_CONTACT_SHEET}
    COMMAND ${CMAKE_COMMAND} -E touch ${QUELL_GEN_STAMP}
    DEPENDS content_gen ${QUELL_COPY_STAMP}
    COMMENT "Generating content into the run folder")
  add_custom_target(content ALL DEPENDS ${QUELL_COPY_STAMP} ${QUELL_GEN_STAMP})
else()
  add_custom_target(content ALL DEPENDS ${QUELL_COPY_STAMP})
endif()
add_dependencies(quellbrand content)
