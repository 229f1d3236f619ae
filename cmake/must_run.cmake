# must_run(COMMAND... [WORKING_DIRECTORY folder]): runs a command quietly
# and, where it fails, stops with the command and all it said.
include_guard(GLOBAL)
function(must_run)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "WORKING_DIRECTORY" "")
  # An empty folder is the caller's.
  execute_process(COMMAND ${arg_UNPARSED_ARGUMENTS} WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}"
    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    list(JOIN arg_UNPARSED_ARGUMENTS " " command)
    message(FATAL_ERROR "${command}: ${status}\n${said}")
  endif()
endfunction()
