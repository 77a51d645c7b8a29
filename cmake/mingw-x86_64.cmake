# 64-bit Windows build: the one the tests run under wine64.
set(VANTOREL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
