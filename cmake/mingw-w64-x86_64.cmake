# Cross-compiles the toolkit-free core for 64-bit Windows with Debian's MinGW-w64, whose gcc
# keeps long double as the 80-bit x87 type. The posix flavour of the compiler is the one
# whose C++ library has std::mutex and std::thread. Programs link statically, so they run
# without the compiler's DLLs beside them; where wine64 is installed, CTest runs them there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KQ_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KQ_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KQ_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KQ_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KQ_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(KQ_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT KQ_WINE64)
  find_program(KQ_WINE64 NAMES wine64)
endif()
if(KQ_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KQ_WINE64})
endif()
