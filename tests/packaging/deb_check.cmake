# Checks the Debian package PACKAGE that CPack made from this build: made
# again (cpack with CPACK_CONFIG, into AGAIN), it is the same bytes; lintian
# finds no error or warning; its dependencies are met here; it installs its
# icons; and the meter unpacked from it gets through start-up offscreen and,
# on a headless Wayland compositor, asks for its window as the form
# describes it: its title, its fixed size, the app id that ties it to the
# desktop entry, and a first drawing attached to its surface. A missing tool
# fails the check; a failure keeps the logs.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/must_run.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/meter_form.cmake)
if(NOT EXISTS ${PACKAGE})
  message("Skipped: no ${PACKAGE}; \"cpack --preset default\" makes it")
  return()
endif()
get_filename_component(name ${PACKAGE} NAME)
must_run(${CMAKE_CPACK_COMMAND} --config ${CPACK_CONFIG} -B ${AGAIN})
must_run(${CMAKE_COMMAND} -E compare_files ${PACKAGE} ${AGAIN}/${name})
must_run(lintian --fail-on error,warning ${PACKAGE})
execute_process(COMMAND dpkg-deb -f ${PACKAGE} Depends
  OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
must_run(dpkg-checkbuilddeps -d ${depends} /dev/null)

set(root ${AGAIN}/unpacked)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root})
must_run(dpkg-deb -x ${PACKAGE} ${root}/tree)
set(share ${root}/tree/usr/share)
file(GLOB entry ${share}/applications/*.desktop)
get_filename_component(id "${entry}" NAME_WLE)
foreach(icon 16x16/apps/${id}.png 32x32/apps/${id}.png 48x48/apps/${id}.png
    256x256/apps/${id}.png scalable/apps/${id}.svg)
  if(NOT EXISTS ${share}/icons/hicolor/${icon})
    message(FATAL_ERROR "It installs no icon ${icon}")
  endif()
endforeach()

# Still running after three seconds: it got through start-up. coreutils'
# timeout ends it: CMake 3.31's own TIMEOUT leaves it running.
function(starts platform)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=${platform}
    timeout 3 ${root}/tree/usr/bin/wattmeter RESULT_VARIABLE status ERROR_FILE ${root}/${platform}.log)
  if(NOT status EQUAL 124)
    failed("the meter ended during start-up: ${status}")
  endif()
endfunction()
function(failed what)
  if(socket)
    execute_process(COMMAND pkill -f -- --socket=${socket})
  endif()
  message(FATAL_ERROR "From the package, ${what} (the logs are in ${root})")
endfunction()
starts(offscreen)

file(MAKE_DIRECTORY ${root}/run)
file(CHMOD ${root}/run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
string(RANDOM socket)
set(socket wattmeter-check-${socket})
set(ENV{XDG_RUNTIME_DIR} ${root}/run)
# On its own, so that it outlives this call; ended by its socket's name.
execute_process(COMMAND setsid -f weston --backend=headless-backend.so --socket=${socket} --idle-time=0
  OUTPUT_FILE ${root}/weston.log ERROR_FILE ${root}/weston.log COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND timeout 5 sh -c "until [ -e \"$0\" ]; do sleep 0.1; done" ${root}/run/${socket}
  RESULT_VARIABLE status)
if(status)
  failed("the headless compositor did not come up")
endif()
# libwayland writes an object's id after "@" up to 1.22 and after "#" from
# 1.23 on.
set(ENV{WAYLAND_DISPLAY} ${socket})
set(ENV{WAYLAND_DEBUG} 1)
starts(wayland)
file(READ ${root}/wayland.log said)
string(REPLACE "x" ", " size "${meter_size}")
foreach(request "set_title\\(\"${meter_title}\"\\)" "set_app_id\\(\"${id}\"\\)"
    "set_min_size\\(${size}\\)" "set_max_size\\(${size}\\)" "wl_surface[@#][0-9]*\\.attach\\(wl_buffer")
  if(NOT said MATCHES "-> [^\n]*${request}")
    failed("on Wayland the meter never sent ${request}")
  endif()
endforeach()
execute_process(COMMAND pkill -f -- --socket=${socket})
file(REMOVE_RECURSE ${root})
