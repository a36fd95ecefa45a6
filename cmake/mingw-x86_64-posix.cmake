# The 64-bit test programs, with the -posix compilers for GoogleTest's
# std::mutex (see mingw-i686-posix.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
