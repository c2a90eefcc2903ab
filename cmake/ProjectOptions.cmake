# Warnings as errors for every target of the project, and the optional sanitizer build.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
  -Wall -Wextra -Werror -Wno-unused-parameter -Wno-missing-field-initializers
  # GCC 12 reports overlaps that cannot happen inside std::string concatenation when optimising.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
if(MORVATH_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "MORVATH_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  # Every library carries the fuzzer's coverage counters; only the fuzz targets link its driver.
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
elseif(MORVATH_SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

# morvath_library(<name> <folder> [DEPS ...] [PRIVATE_DEPS ...] [INCLUDES ...] [PRIVATE_INCLUDES ...]): a static
# library made of every source in <folder>; INCLUDES are the folders its users include from, PRIVATE_INCLUDES
# the ones only its own sources see.
# Globbing keeps each area's file list in the area itself.
function(morvath_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;INCLUDES;PRIVATE_INCLUDES" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  morvath_layer(${name} ${folder})
  if(NOT sources)
    # An area that holds no code yet: its headers and dependencies only.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    target_include_directories(${name} INTERFACE ${ARG_INCLUDES})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE project_options ${ARG_PRIVATE_DEPS})
  target_include_directories(${name} PUBLIC ${ARG_INCLUDES} PRIVATE ${ARG_PRIVATE_INCLUDES})
endfunction()

# morvath_test(<name> <folder> DEPS ...): one GoogleTest executable made of every source in <folder> that
# no library of DEPS holds.
function(morvath_test name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  # A support folder that is a library of its own (linked through DEPS) is not compiled again.
  foreach(dep IN LISTS ARG_DEPS)
    if(TARGET ${dep})
      get_target_property(dep_type ${dep} TYPE)
      get_target_property(dep_imported ${dep} IMPORTED)
      if(dep_type STREQUAL "STATIC_LIBRARY" AND NOT dep_imported)
        get_target_property(dep_sources ${dep} SOURCES)
        list(REMOVE_ITEM sources ${dep_sources})
      endif()
    endif()
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} project_options GTest::gtest GTest::gtest_main GTest::gmock)
  # Tests find their reference files from the source folder; __FILE__ may be relative (ccache's base_dir).
  target_compile_definitions(${name} PRIVATE MORVATH_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "MORVATH_MACHINE=headless")
endfunction()
