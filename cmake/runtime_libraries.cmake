# How the programs link the C++ runtime.
#
# A build pipeline runs bytesmith once per fixture, on descriptions of a few
# lines, so the time a run takes before it reads its first byte matters more
# there than throughput. Most of that time goes into the dynamic loader
# mapping and relocating libstdc++ (or libc++) and libgcc_s. Linked into the
# programs instead, they cost the loader nothing, and --as-needed drops the
# libraries nothing calls (libm, which only the shared C++ runtime wanted).
#
# This is done for the optimised builds people ship (Release, MinSizeRel and
# the package made from them); Debug and the sanitizer and fuzzing builds
# keep the shared runtime their tools expect. The test programs link
# GoogleTest, itself linked to the shared runtime, and so keep it too: only
# the two programs change. Where the toolchain cannot link the runtime
# statically (no libstdc++.a, say), the shared one is used as before.

include(CheckLinkerFlag)

option(BYTESMITH_STATIC_CXX_RUNTIME
       "Link the C++ runtime and libgcc into the optimised programs" ON)

set(bytesmith_runtime_link_options "")
if(BYTESMITH_STATIC_CXX_RUNTIME AND CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
  foreach(option IN ITEMS -static-libstdc++ -static-libgcc LINKER:--as-needed)
    string(MAKE_C_IDENTIFIER "bytesmith_links${option}" works)
    check_linker_flag(CXX "${option}" ${works})
    if(${works})
      list(APPEND bytesmith_runtime_link_options ${option})
    endif()
  endforeach()
endif()

# Links the C++ runtime into the optimised builds of the given programs.
function(bytesmith_link_runtime)
  foreach(program IN LISTS ARGN)
    foreach(option IN LISTS bytesmith_runtime_link_options)
      target_link_options(${program} PRIVATE $<$<CONFIG:Release,MinSizeRel>:${option}>)
    endforeach()
  endforeach()
endfunction()
