# quillet_add_library(<name> [DEPS <targets>...])
# Builds every .cpp/.h directly in the calling folder into the static library <name>.
# Globbing keeps parallel work on one folder from fighting over a source list.
function(quillet_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$|\\.qrc$")
  set(has_cpp FALSE)
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    # A folder that holds only headers so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# quillet_add_tests(<library> [LIBS <targets>...])
# Every tst_*.cpp in the calling folder becomes one Qt Test executable registered with CTest,
# linked to <library>; tests run headless and with their own config, data and runtime folders.
function(quillet_add_tests library)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp")
  foreach(src IN LISTS tests)
    get_filename_component(name "${src}" NAME_WE)
    add_executable(${name} "${src}")
    target_link_libraries(${name} PRIVATE ${library} ${ARG_LIBS} quillet_testsupport Qt6::Test)
    target_compile_definitions(${name} PRIVATE
      QUILLET_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
      QUILLET_CORPUS="${PROJECT_SOURCE_DIR}/../shared/corpus"
      QUILLET_BINARY_DIR="${PROJECT_BINARY_DIR}"
      QUILLET_EXECUTABLE="$<TARGET_FILE:quillet>")
    add_dependencies(${name} quillet)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      TIMEOUT 300)
  endforeach()
endfunction()
