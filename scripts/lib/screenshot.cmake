# Starts the meter with the command METER (a list) on the X display given,
# presses Reset and Start, and saves a picture of its window in OUTPUT two
# seconds on: scripts/screenshot's view of it.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/meter_on_screen.cmake)
start_meter(${METER})
press(cmdReset)
press(cmdStart)
pause(2)
execute_process(COMMAND import -window ${window} ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
