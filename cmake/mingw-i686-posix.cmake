# The 32-bit test programs: GoogleTest needs std::mutex, which the win32
# thread model lacks, so they are built with the -posix compilers. Linked
# statically they still import only system DLLs; they never ship.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
