# Debian's hardening for the optimised builds (the everyday build, `make
# install` and the package): the flags dpkg-buildflags adds when every
# hardening feature is on, and nothing else of its (optimisation and debug
# flags stay the build type's). That is fortify, the strong stack protector,
# format checks, relro and bindnow; PIE is built into Debian's compiler. The
# sanitizer and fuzzing builds keep their own instrumentation instead.
# DORIROVA_HARDENED says which this build is.
set(DORIROVA_HARDENED OFF)
if(DORIROVA_SANITIZE OR DORIROVA_FUZZ OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  return()
endif()
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags (dpkg-dev) not found: building without Debian's hardening flags")
  return()
endif()

# The flags of one kind (CPPFLAGS, CXXFLAGS, LDFLAGS) with hardening on that
# are not there with it off.
function(dorirova_hardening_flags kind out)
  foreach(setting IN ITEMS +all -all)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=${setting}
                            ${DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags_${setting} UNIX_COMMAND "${flags}")
  endforeach()
  list(REMOVE_ITEM flags_+all ${flags_-all})
  set(${out} ${flags_+all} PARENT_SCOPE)
endfunction()

dorirova_hardening_flags(CPPFLAGS hardening_cppflags)
dorirova_hardening_flags(CXXFLAGS hardening_cxxflags)
dorirova_hardening_flags(LDFLAGS hardening_ldflags)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:${hardening_cppflags};${hardening_cxxflags}>")
add_link_options(${hardening_ldflags})
set(DORIROVA_HARDENED ON)
message(STATUS "Hardening: ${hardening_cppflags} ${hardening_cxxflags} ${hardening_ldflags}")
