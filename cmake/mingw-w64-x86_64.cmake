# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the
# posix-thread variants, which have std::thread), run under Wine.
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VANTOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their runtime: no MinGW DLL has to lie beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and GoogleTest's test discovery) run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
