# The corpus of files written by other programs lies beside the checkout (shared/corpus); a
# build from a copy elsewhere may point QUILLET_CORPUS_DIR at it. Without it the tests that read
# it skip and say why.
set(QUILLET_CORPUS_DIR "${PROJECT_SOURCE_DIR}/../shared/corpus" CACHE PATH
    "Files written by other programs that the tests read")
if(IS_DIRECTORY "${QUILLET_CORPUS_DIR}/rtf")
  get_filename_component(quillet_corpus "${QUILLET_CORPUS_DIR}" ABSOLUTE)
else()
  message(STATUS "Test corpus not found at ${QUILLET_CORPUS_DIR}: the tests that read it skip "
                 "(set QUILLET_CORPUS_DIR to its folder)")
  set(quillet_corpus "")
endif()

# quillet_add_library(<name> [RECURSE] [ONLY <files>...] [EXCEPT <files>...] [DEPS <targets>...])
# Builds every .cpp/.h/.qrc of the calling folder (with RECURSE: of its subfolders too) into the
# static library <name>. Globbing keeps parallel work on one folder from fighting over a source list.
# ONLY builds just the named files of the folder and EXCEPT leaves them out, so that a folder's
# widget-free part can be a library of its own while new files join the rest.
function(quillet_add_library name)
  cmake_parse_arguments(ARG "RECURSE" "" "DEPS;ONLY;EXCEPT" ${ARGN})
  if(ARG_ONLY)
    list(TRANSFORM ARG_ONLY PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/" OUTPUT_VARIABLE sources)
  else()
    set(patterns "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
                 "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
    if(ARG_RECURSE)
      file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${patterns})
    else()
      file(GLOB sources CONFIGURE_DEPENDS ${patterns})
    endif()
    foreach(file IN LISTS ARG_EXCEPT)
      list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endforeach()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# quillet_add_tests(<library> [RECURSE] [LIBS <targets>...])
# Every tst_*.cpp in the calling folder (with RECURSE: and its subfolders) becomes one Qt Test executable registered with CTest,
# linked to <library>; tests run headless and with their own config, data and runtime folders.
function(quillet_add_tests library)
  cmake_parse_arguments(ARG "RECURSE" "" "LIBS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp")
  else()
    file(GLOB tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp")
  endif()
  foreach(src IN LISTS tests)
    get_filename_component(name "${src}" NAME_WE)
    add_executable(${name} "${src}")
    target_link_libraries(${name} PRIVATE ${library} ${ARG_LIBS} quillet_testsupport Qt6::Test)
    target_compile_definitions(${name} PRIVATE
      QUILLET_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
      QUILLET_CORPUS="${quillet_corpus}"
      QUILLET_BINARY_DIR="${PROJECT_BINARY_DIR}"
      QUILLET_EXECUTABLE="$<TARGET_FILE:quillet>")
    add_dependencies(${name} quillet)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      TIMEOUT 300)
  endforeach()
endfunction()
