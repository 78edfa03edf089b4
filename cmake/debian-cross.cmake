# Cross build with one of Debian's cross compilers, the tests run under
# qemu-user. Included by the toolchain files, which set the target:
#   bytesmith_cross_triple   the GNU triple (aarch64-linux-gnu, ...)
#   bytesmith_cross_qemu     the qemu-user program for it
#   CMAKE_SYSTEM_PROCESSOR
#
#   cmake -B build/aarch64 --toolchain cmake/toolchain-aarch64.cmake
#
# GoogleTest for the target comes from Debian's multiarch packages
# (libgtest-dev:arm64, ...), found through the compiler's library
# architecture; -L points qemu at the target's C library and loader.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${bytesmith_cross_triple}-g++)
find_program(bytesmith_qemu_path ${bytesmith_cross_qemu})
if(bytesmith_qemu_path)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${bytesmith_qemu_path} -L /usr/${bytesmith_cross_triple})
endif()
