# Installation, the CMake package and the Debian package.
#
#   cmake --install build/release --prefix /usr/local
#   (cd build/release && cpack -G DEB)

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

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
install(TARGETS bytesmith bytesmith-dump EXPORT bytesmith-targets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(page IN LISTS bytesmith_man_pages)
  string(REGEX MATCH "[1-9]$" section ${page})
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The CMake package: find_package(bytesmith 0.1 CONFIG) with the prefix on
# CMAKE_PREFIX_PATH. The programs run on the build machine whatever the
# consumer builds for, so the version file does not compare pointer sizes.
set(bytesmith_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/bytesmith)
install(EXPORT bytesmith-targets NAMESPACE bytesmith:: DESTINATION ${bytesmith_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/bytesmith-config-version.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion
                                 ARCH_INDEPENDENT)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/bytesmith-config.cmake
              ${CMAKE_CURRENT_LIST_DIR}/bytesmith_generate.cmake
              ${PROJECT_BINARY_DIR}/bytesmith-config-version.cmake
        DESTINATION ${bytesmith_package_dir})

include(CPack)
