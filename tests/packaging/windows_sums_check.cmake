# Checks the Windows packages that CPack made in MADE: made again (cpack with
# CPACK_CONFIG, into AGAIN), the same bytes; each at most 13.5 MiB; and,
# built with Qt from the qt6-base source that RECORDED (docs/releasing.md)
# names on a line of its own, the bytes whose sums follow it there. Built
# from another source, it says so and is skipped: the sums are recorded anew
# for a release. QT_RECORD is the record of Qt's build.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/must_run.cmake)
if(NOT EXISTS ${MADE}/SHA256SUMS)
  message("Skipped: no packages in ${MADE}; \"cpack --preset windows\" makes them")
  return()
endif()
must_run(${CMAKE_CPACK_COMMAND} --config ${CPACK_CONFIG} -B ${AGAIN})
must_run(${CMAKE_COMMAND} -E compare_files ${MADE}/SHA256SUMS ${AGAIN}/SHA256SUMS)
foreach(package ${MADE}/wattmeter-${VERSION}-win64.msi ${MADE}/wattmeter-${VERSION}-win64.zip)
  file(SIZE ${package} size)
  if(size GREATER 14155776)
    message(FATAL_ERROR "${package} is ${size} bytes, over its bound of 13.5 MiB (docs/releasing.md)")
  endif()
endforeach()
file(READ ${QT_RECORD} qt_build)
string(REGEX MATCH "Debian's qt6-base ([^ ]+) source" qt_build "${qt_build}")
set(qt_source ${CMAKE_MATCH_1})
file(STRINGS ${RECORDED} recorded_source REGEX "^qt6-base ")
if(NOT recorded_source STREQUAL "qt6-base ${qt_source}")
  message("Built with Qt from qt6-base ${qt_source}, not the one ${RECORDED} names "
    "(${recorded_source}): record the sums anew there for a release")
  return()
endif()
file(STRINGS ${RECORDED} recorded REGEX "^[0-9a-f]+  wattmeter-")
file(STRINGS ${MADE}/SHA256SUMS made)
if(NOT recorded STREQUAL made)
  list(JOIN made "\n" made)
  message(FATAL_ERROR "The packages built here are not those whose sums ${RECORDED} records: "
    "record them anew there:\nqt6-base ${qt_source}\n${made}")
endif()
