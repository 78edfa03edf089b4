# The documents installed beside the programs, made when the project is
# configured: the manual pages with the project's version in their footers,
# and for the package a DEP-5 copyright file from LICENSE and a Debian
# changelog from CHANGELOG.md. The pages and the changelog are compressed
# as Debian has it, with gzip -9 (and -n, so that the bytes are the same
# from build to build); the copyright file stays plain.

include(${CMAKE_CURRENT_LIST_DIR}/debian_changelog.cmake)

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

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md)

# The copyright file: the notice and the licence text of LICENSE, the text
# indented by one blank and its empty lines written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
if(NOT licence MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE has no copyright line followed by the licence text")
endif()
set(notice "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" text "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " text "${text}")
file(WRITE ${PROJECT_BINARY_DIR}/doc/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: ${notice}
License: Expat
 ${text}
")

bytesmith_debian_changelog(${PROJECT_SOURCE_DIR}/CHANGELOG.md
                           ${PROJECT_BINARY_DIR}/doc/changelog ${CPACK_PACKAGE_NAME}
                           "${CPACK_PACKAGE_CONTACT}")
bytesmith_gzip(${PROJECT_BINARY_DIR}/doc/changelog)
