# 64-bit Arm, little-endian, with NEON and no SSE2 (see debian-cross.cmake).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(bytesmith_cross_triple aarch64-linux-gnu)
set(bytesmith_cross_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
