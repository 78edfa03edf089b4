# bytesmith_generate(OUTPUT <file> DESCRIPTION <file>)
#
# Makes OUTPUT from the description in DESCRIPTION at build time, with the
# custom command "bytesmith -o OUTPUT DESCRIPTION". A relative OUTPUT lies
# in CMAKE_CURRENT_BINARY_DIR, a relative DESCRIPTION in
# CMAKE_CURRENT_SOURCE_DIR. The command runs again whenever the description
# or the program changes. bytesmith replaces OUTPUT only when it succeeds,
# so a failing description fails the build and leaves no half-written file.
#
# A target in the same directory that lists OUTPUT among its sources, or a
# custom target that DEPENDS on it, has the file made before it is built:
#
#   bytesmith_generate(OUTPUT header.bin DESCRIPTION header.txt)
#   add_custom_target(fixtures ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/header.bin)
#
# The program is the target bytesmith::bytesmith: the one built in the same
# project, or the one find_package(bytesmith) imports. When the project is
# cross-compiled with an emulator, the emulator runs it.
#
# This file is included both by the installed package and by the project
# itself.

function(bytesmith_generate)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "OUTPUT;DESCRIPTION" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "bytesmith_generate: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_OUTPUT OR NOT arg_DESCRIPTION)
    message(FATAL_ERROR "bytesmith_generate: needs OUTPUT <file> and DESCRIPTION <file>")
  endif()
  if(NOT TARGET bytesmith::bytesmith)
    message(FATAL_ERROR "bytesmith_generate: no target bytesmith::bytesmith; "
                        "call find_package(bytesmith) first")
  endif()
  cmake_path(ABSOLUTE_PATH arg_OUTPUT BASE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} NORMALIZE
             OUTPUT_VARIABLE output)
  cmake_path(ABSOLUTE_PATH arg_DESCRIPTION BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE
             OUTPUT_VARIABLE description)
  # bytesmith makes its temporary file beside OUTPUT: the folder must exist.
  cmake_path(GET output PARENT_PATH folder)
  file(MAKE_DIRECTORY ${folder})
  file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
  add_custom_command(OUTPUT ${output}
                     COMMAND bytesmith::bytesmith -o ${output} ${description}
                     DEPENDS ${description} bytesmith::bytesmith
                     COMMENT "Generating ${shown} from its description"
                     VERBATIM)
endfunction()
