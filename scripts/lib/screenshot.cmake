# Starts the meter with the command METER (a list) on the X display given,
# presses Reset and Start, and saves a picture of its window in OUTPUT two
# seconds on: scripts/screenshot's view of it. With WINE, under wine, in a
# fresh prefix at $ENV{WINEPREFIX} with wine_prefix.cmake's settings given
# (WINDOWS, DARK).
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/meter_on_screen.cmake)
if(WINE)
  include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_prefix.cmake)
  start_prefix()
  apply_settings()
  set(METER wine ${METER})
endif()
start_meter(${METER})
press(cmdReset)
press(cmdStart)
pause(2)
execute_process(COMMAND import -window ${window} ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
