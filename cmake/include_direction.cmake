# ovelsk_forbid_includes(FOLDER REGEX): fails the configuration when a source file
# under FOLDER includes a header whose name matches REGEX (either "..." or <...>).
# Runs at every configuration, which scripts/build.sh does on every build.
function(ovelsk_forbid_includes folder pattern)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${pattern})")
    if(includes)
      list(GET includes 0 first)
      file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${source})
      message(FATAL_ERROR "${name} may not include that: ${first}\n"
                          "(${folder}/ must not depend on what matches ${pattern})")
    endif()
  endforeach()
endfunction()
