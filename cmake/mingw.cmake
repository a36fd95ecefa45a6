# Cross-compiling for Windows with Debian's MinGW-w64; included by the
# toolchain files, which set DORVANE_MINGW_TRIPLE (i686-w64-mingw32 or
# x86_64-w64-mingw32). Programs are built with the win32 thread-model
# compilers: the program has no threads, and the -posix runtime
# (winpthreads) imports functions that Windows XP lacks, GetTickCount64
# among them. The test programs set DORVANE_MINGW_THREADS to posix.
if(NOT DEFINED DORVANE_MINGW_THREADS)
  set(DORVANE_MINGW_THREADS win32)
endif()

set(CMAKE_SYSTEM_NAME Windows)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${DORVANE_MINGW_TRIPLE}")

set(CMAKE_C_COMPILER ${DORVANE_MINGW_TRIPLE}-gcc-${DORVANE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${DORVANE_MINGW_TRIPLE}-g++-${DORVANE_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${DORVANE_MINGW_TRIPLE}-windres)
# The message compiler, for the texts of the program's events.
set(DORVANE_MC_COMPILER ${DORVANE_MINGW_TRIPLE}-windmc)

set(CMAKE_FIND_ROOT_PATH /usr/${DORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
