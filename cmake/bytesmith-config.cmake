# The bytesmith package, for find_package(bytesmith CONFIG): the imported
# programs bytesmith::bytesmith and bytesmith::bytesmith-dump, and the
# function bytesmith_generate() that builds files from their descriptions.
if(CMAKE_VERSION VERSION_LESS 3.20)
  set(bytesmith_FOUND FALSE)
  set(bytesmith_NOT_FOUND_MESSAGE "bytesmith_generate() needs CMake 3.20 or newer")
  return()
endif()
if(NOT TARGET bytesmith::bytesmith)
  include(${CMAKE_CURRENT_LIST_DIR}/bytesmith-targets.cmake)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/bytesmith_generate.cmake)
