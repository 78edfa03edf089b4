# The documents installed beside the programs, made when the project is
# configured: the manual pages with the project's version in their footers,
# compressed as Debian has it, with gzip -9 (and -n, so that the bytes are
# the same from build to build).

find_program(BYTESMITH_GZIP gzip REQUIRED)

# Writes file.gz beside file.
function(bytesmith_gzip file)
  execute_process(COMMAND ${BYTESMITH_GZIP} -9 -n -c ${file}
                  OUTPUT_FILE ${file}.gz RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${file}")
  endif()
endfunction()

set(bytesmith_man_pages bytesmith.1 bytesmith-dump.1 bytesmith.5)
foreach(page IN LISTS bytesmith_man_pages)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page}.in ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
  bytesmith_gzip(${PROJECT_BINARY_DIR}/man/${page})
endforeach()
