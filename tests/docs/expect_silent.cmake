# Runs a checker and fails unless it exits 0 without a word on either stream:
#   cmake "-DCOMMAND=groff;-man;-Tutf8;-ww;-z;docs/ovelsk.1" -P expect_silent.cmake
execute_process(COMMAND ${COMMAND}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "")
  string(REPLACE ";" " " shown "${COMMAND}")
  message(FATAL_ERROR "${shown}\nexit status ${status}\n${output}")
endif()
