# IBM Z, big-endian (see debian-cross.cmake).
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(bytesmith_cross_triple s390x-linux-gnu)
set(bytesmith_cross_qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
