# What both MinGW-w64 cross builds share (Debian's posix-thread variant); the toolchain file
# of each sets CMAKE_SYSTEM_PROCESSOR and KV_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
find_program(CMAKE_C_COMPILER NAMES ${KV_TRIPLE}-gcc-posix ${KV_TRIPLE}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${KV_TRIPLE}-g++-posix ${KV_TRIPLE}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${KV_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
