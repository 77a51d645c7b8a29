# 32-bit Windows build: the shipped program, checked statically here.
set(VANTOREL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
