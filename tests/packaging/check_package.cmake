# Checks the Debian package PACKAGE: lintian finds no error or
# warning, its dependencies are met here, it installs its icons, and the
# meter unpacked from it starts and keeps running offscreen. A missing tool
# fails the check.
set(package ${PACKAGE})
function(must what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} (${status}):\n${said}")
  endif()
endfunction()

must("lintian finds fault" lintian --fail-on error,warning ${package})
execute_process(COMMAND dpkg-deb -f ${package} Depends
  OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
must("its dependencies are not met here" dpkg-checkbuilddeps -d ${depends} /dev/null)

set(root ${CMAKE_CURRENT_BINARY_DIR}/unpacked)
file(REMOVE_RECURSE ${root})
must("it does not unpack" dpkg-deb -x ${package} ${root})
set(share ${root}/usr/share)
file(GLOB entry ${share}/applications/*.desktop)
get_filename_component(id "${entry}" NAME_WLE)
foreach(icon 16x16/apps/${id}.png 32x32/apps/${id}.png 48x48/apps/${id}.png
    256x256/apps/${id}.png scalable/apps/${id}.svg)
  if(NOT EXISTS ${share}/icons/hicolor/${icon})
    message(FATAL_ERROR "It installs no icon ${icon}")
  endif()
endforeach()

# Still running after three seconds: it got through start-up.
set(ENV{QT_QPA_PLATFORM} offscreen)
# coreutils' timeout ends it: CMake 3.31's own TIMEOUT leaves it running.
execute_process(COMMAND timeout 3 ${root}/usr/bin/wattmeter RESULT_VARIABLE status)
if(NOT status EQUAL 124)
  message(FATAL_ERROR "The installed meter ended during start-up: ${status}")
endif()
file(REMOVE_RECURSE ${root})
