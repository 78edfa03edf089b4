# Run by CPack on its staging directory before the package is made:
# compresses every manual page with gzip -9 (-n keeps the output the same
# from build to build).
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(FILTER pages INCLUDE REGEX "/share/man/man[1-9]/[^/]+\\.[1-9]$")
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9 -n -f "${page}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${page}")
  endif()
endforeach()
