# Runs the meter unpacked from the Debian package PACKAGE on a headless
# Wayland compositor and checks the window as the client asks for it: its
# title, its fixed size, the app id that ties it to the desktop entry, and a
# first drawing attached to its surface. A failure keeps the logs.
cmake_minimum_required(VERSION 3.25)
set(root ${CMAKE_CURRENT_BINARY_DIR}/wayland)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root}/run)
file(CHMOD ${root}/run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(COMMAND dpkg-deb -x ${PACKAGE} ${root}/tree COMMAND_ERROR_IS_FATAL ANY)
file(GLOB entry ${root}/tree/usr/share/applications/*.desktop)
get_filename_component(id "${entry}" NAME_WLE)

string(RANDOM socket)
set(socket wattmeter-check-${socket})
set(ENV{XDG_RUNTIME_DIR} ${root}/run)
# On its own, so that it outlives this call; ended by its socket's name.
execute_process(COMMAND setsid -f weston --backend=headless-backend.so --socket=${socket} --idle-time=0
  OUTPUT_FILE ${root}/weston.log ERROR_FILE ${root}/weston.log COMMAND_ERROR_IS_FATAL ANY)
function(failed what)
  execute_process(COMMAND pkill -f -- --socket=${socket})
  message(FATAL_ERROR "On Wayland ${what} (the logs are in ${root})")
endfunction()
foreach(try RANGE 50)
  if(EXISTS ${root}/run/${socket})
    break()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.1)
endforeach()
if(NOT EXISTS ${root}/run/${socket})
  failed("the headless compositor did not come up")
endif()

# Still running after three seconds means it got through start-up. libwayland
# writes an object's id after "@" up to 1.22 and after "#" from 1.23 on.
set(ENV{WAYLAND_DISPLAY} ${socket})
set(ENV{QT_QPA_PLATFORM} wayland)
set(ENV{WAYLAND_DEBUG} 1)
# coreutils' timeout ends it: CMake 3.31's own TIMEOUT leaves it running.
execute_process(COMMAND timeout 3 ${root}/tree/usr/bin/wattmeter RESULT_VARIABLE status
  ERROR_FILE ${root}/wayland.log)
if(NOT status EQUAL 124)
  failed("the meter ended during start-up: ${status}")
endif()
file(READ ${root}/wayland.log said)
foreach(request "set_title\\(\"Power Measurement Example\"\\)" "set_app_id\\(\"${id}\"\\)"
    "set_min_size\\(489, 674\\)" "set_max_size\\(489, 674\\)" "wl_surface[@#][0-9]*\\.attach\\(wl_buffer")
  if(NOT said MATCHES "-> [^\n]*${request}")
    failed("the meter never sent ${request}")
  endif()
endforeach()
execute_process(COMMAND pkill -f -- --socket=${socket})
file(REMOVE_RECURSE ${root})
