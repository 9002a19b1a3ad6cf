# Shared settings of the project's own targets.

set(ORBELIN_WARNINGS -Wall -Wextra)

# orbelin_library(NAME SOURCES ... [LIBS ...])
function(orbelin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ORBELIN_WARNINGS})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# orbelin_test(NAME SOURCES ... LIBS ... [TIMEOUT seconds])
# One GoogleTest executable, registered as one ctest test. In the Windows
# build ctest runs it through the toolchain's emulator (Wine). The benchmark
# tree leaves tests out.
function(orbelin_test name)
  if(ORBELIN_BENCH)
    return() # the benchmark tree builds no tests
  endif()
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ORBELIN_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
  # GoogleTest's header is the bulk of every test unit; parse it once. Not
  # with MinGW's GCC 12: through a precompiled header it reports false
  # -Warray-bounds and -Wstringop-overflow inside the standard string.
  if(NOT WIN32)
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h>)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=0)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

# Sanitizers apply to every target of the project's own folders (the tree is
# included after GoogleTest), so tools and libraries always link alike.
if(ORBELIN_SANITIZE AND NOT WIN32 AND NOT ORBELIN_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# orbelin_add_folders(DIR ... [EXCEPT NAME ...]) adds each folder that holds
# a CMakeLists.txt, leaving out those named in ORBELIN_SKIP or after EXCEPT.
function(orbelin_add_folders)
  cmake_parse_arguments(ARG "" "" "EXCEPT" ${ARGN})
  foreach(dir ${ARG_UNPARSED_ARGUMENTS})
    get_filename_component(area ${dir} NAME)
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt AND NOT area IN_LIST ORBELIN_SKIP
       AND NOT area IN_LIST ARG_EXCEPT)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# <windows.h> is most of what a user-interface unit compiles: the Windows
# libraries whose every unit includes it parse it once per target. (Only
# those: forced into the portable units it would rename their functions.)
function(orbelin_precompile_windows_headers)
  foreach(target ${ARGN})
    if(WIN32 AND TARGET ${target})
      target_precompile_headers(${target} PRIVATE <windows.h>)
    endif()
  endforeach()
endfunction()
