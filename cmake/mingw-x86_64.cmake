# 64-bit Windows: the Wine levels' build for machines that run no 32-bit
# code. The program that ships stays 32-bit; this one is built the same way.
set(DORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
