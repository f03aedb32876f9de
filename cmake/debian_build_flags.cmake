# A Release build is built as Debian builds its packages, hardened with every
# feature dpkg-buildflags knows (stack protector, fortified string and memory
# calls, full RELRO with bindnow) and optimised at -O2, as Debian does. Debug
# information (-g) is left out: the package is stripped, and it only slows the build.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT OVELSK_SANITIZE)
  find_program(OVELSK_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${OVELSK_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE debian_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  string(REGEX REPLACE "(^| )-g( |$)" " " debian_CXXFLAGS "${debian_CXXFLAGS}")
  set(CMAKE_CXX_FLAGS_RELEASE "${debian_CPPFLAGS} ${debian_CXXFLAGS} -DNDEBUG")
  set(CMAKE_EXE_LINKER_FLAGS_RELEASE "${debian_LDFLAGS}")
  message(STATUS "Release flags from dpkg-buildflags: ${CMAKE_CXX_FLAGS_RELEASE}; linking: ${debian_LDFLAGS}")
endif()
