# The Windows tree's skin is drawn and packed by host tools (skingen,
# skinpack). When no native tree is given, they are built here, in host/,
# as a project of their own with the host's compiler.

include(ExternalProject)

find_program(ORBELIN_HOST_CXX NAMES g++ c++ clang++)
find_program(ORBELIN_HOST_CC NAMES gcc cc clang)
if(NOT ORBELIN_HOST_CXX OR NOT ORBELIN_HOST_CC)
  message(FATAL_ERROR
    "The Windows build draws and packs its skin with host tools, and no native C/C++ compiler "
    "was found to build them. Install g++, or pass -DORBELIN_HOST_BUILD=<native build tree> "
    "(a tree of the presets program-native or native in CMakePresets.json).")
endif()

set(ORBELIN_HOST_DIR ${CMAKE_BINARY_DIR}/host)
set(host_skin ${ORBELIN_HOST_DIR}/skin)
ExternalProject_Add(orbelin_host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${ORBELIN_HOST_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${ORBELIN_HOST_CXX}
             -DCMAKE_C_COMPILER=${ORBELIN_HOST_CC} -DORBELIN_TESTS=OFF -DORBELIN_SANITIZE=OFF
             -DORBELIN_BENCH=OFF -DORBELIN_FUZZ=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target orbelin_skin
  BUILD_ALWAYS TRUE
  BUILD_BYPRODUCTS ${host_skin}/orbelin.skin ${host_skin}/SkinStream.txt ${host_skin}/src/halvixmenu.bmp
                   ${host_skin}/broad/orbelin-broad.skin ${host_skin}/broad/src/LIST
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD TRUE)
message(STATUS "Host tools for the skin: built in ${ORBELIN_HOST_DIR}")
