# The 64-bit test programs, with the -posix compilers for GoogleTest's
# std::mutex (see mingw-i686-posix.cmake).
set(DORVANE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
