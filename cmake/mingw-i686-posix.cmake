# The 32-bit test programs: GoogleTest needs std::mutex, which the win32
# thread model lacks, so they are built with the -posix compilers. Linked
# statically they still import only system DLLs; they never ship.
set(DORVANE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
