# Installation and the Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   (cd build/release && cpack -G DEB)

include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME bytesmith)
set(CPACK_PACKAGE_VENDOR "bytesmith developers")
set(CPACK_PACKAGE_CONTACT "bytesmith developers <bytesmith@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turns a line-oriented text description of bytes into those bytes")
set(CPACK_PACKAGE_DESCRIPTION
    "bytesmith reads lines of text, with caret and backslash escapes for bytes\n\
that cannot be typed and numeric lines for integers and IEEE 754 numbers,\n\
and writes the bytes they describe. Binary fixtures, file headers and\n\
packets can so be kept as diffable text.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

# The manual pages, the copyright file and the changelog.
include(${CMAKE_CURRENT_LIST_DIR}/documents.cmake)

# The destinations stay relative, so that --prefix and the package
# generators can place them.
install(TARGETS bytesmith bytesmith-dump RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(page IN LISTS bytesmith_man_pages)
  string(REGEX MATCH "[1-9]$" section ${page})
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
