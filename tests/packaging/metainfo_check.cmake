# Fails on any error, warning or info that appstreamcli gives for the
# metainfo file, and when it cannot run at all. One info is let through:
# AppStream 0.16's (Debian 12's) for <developer>, a tag that came with 1.0 in
# place of <developer_name>, which 1.0 calls deprecated.
execute_process(COMMAND appstreamcli validate --no-net --pedantic ${METAINFO}
  OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE status)
string(REGEX MATCHALL "[EWI]: [^\n]*" issues "${said}")
list(FILTER issues EXCLUDE REGEX "^I: [^ ]*:[0-9]*: unknown-tag developer$")
if(issues OR NOT status MATCHES "^[0-9]+$" OR (status AND NOT said MATCHES "[EWI]: "))
  message(FATAL_ERROR "appstreamcli (${status}):\n${said}")
endif()
