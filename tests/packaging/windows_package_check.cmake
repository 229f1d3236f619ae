# Uses a Windows package PACKAGE as a person would, in a fresh wine prefix at
# $ENV{WINEPREFIX} on the X display given: the MSI installed, the meter used
# from it at 96 and 144 DPI, uninstalled with nothing left behind, and a
# later version installed over it and uninstalled; or the zip unpacked and
# the meter used from there. A CTest test of the Windows build (label
# "package"); WORK is CPack's folder of the meter, WXS the installer's
# description, VERSION the packages', SOURCE_DIR the checkout.
cmake_minimum_required(VERSION 3.25)
set(prefix $ENV{WINEPREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{FONTCONFIG_FILE} ${prefix}.fonts.conf)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/meter_on_screen.cmake)

function(run)
  execute_process(COMMAND ${ARGN} OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endfunction()
function(wine_prefix action)
  run(${CMAKE_COMMAND} -DACTION=${action} ${ARGN} -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_prefix.cmake)
endfunction()

# At the keyboard, and the program must then end. (Keys sent to its window
# alone fail under wine 10: they are let go on no window, and the next
# meter's window never shows.)
function(close_meter)
  xdotool(windowfocus ${window} key alt+F4)
  foreach(try RANGE 50)
    execute_process(COMMAND pgrep -x wattmeter.exe OUTPUT_QUIET RESULT_VARIABLE running)
    if(running EQUAL 1)
      return()
    elseif(NOT running EQUAL 0)
      message(FATAL_ERROR "pgrep could not look for the meter: ${running}")
    endif()
    pause(0.2)
  endforeach()
  message(FATAL_ERROR "The meter was still running 10 s after Alt+F4")
endfunction()
function(field x y variable) # the text of the field under a point, copied as a user would
  press(${x} ${y})
  xdotool(key --window ${window} ctrl+a ctrl+c sleep 0.3)
  execute_process(COMMAND xclip -o -selection clipboard OUTPUT_VARIABLE text)
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
function(window_size variable)
  xdotool(getwindowgeometry ${window})
  string(REGEX MATCH "Geometry: ([0-9x]+)" size "${said}")
  set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# Opens the meter, checks its window, runs it for three seconds at 250 V and
# 4 A and checks that its total counts ten ticks a second of the elapsed
# time, within 1 % and 10 ticks; a tick at 1000 W adds 0.028 Wh as shown.
function(use_meter path)
  start_meter(wine ${path})
  window_size(size)
  message("The window \"${meter_title}\" from ${path}: ${size}")
  if(NOT size STREQUAL "489x674")
    message(FATAL_ERROR "The meter's window is ${size}, not 489x674")
  endif()
  press(${reset_button}) # 250 V, 4 A, total 0.000
  press(${start_button})
  pause(3)
  press(${stop_button})
  field(152 352 total)
  field(212 616 elapsed)
  close_meter()
  if(NOT total MATCHES "^([0-9]+)\\.([0-9][0-9][0-9]) " OR NOT elapsed MATCHES "^([1-9][0-9]*) ")
    message(FATAL_ERROR "After three seconds the total is \"${total}\" and the time \"${elapsed}\"")
  endif()
  string(REGEX REPLACE "^([0-9]+)\\.([0-9]+) .*" "\\1\\2" milliwatt_hours "${total}")
  string(REGEX MATCH "^[0-9]+" seconds "${elapsed}")
  math(EXPR ticks "${milliwatt_hours} / 28")
  math(EXPR expected "10 * ${seconds}")
  math(EXPR off "${ticks} - ${expected}")
  math(EXPR allowed "${expected} / 100 + 10")
  message("${ticks} ticks (${total}) in ${elapsed}: ${off} of ${expected}, allowed ${allowed}")
  if(off GREATER allowed OR off LESS -${allowed})
    message(FATAL_ERROR "The total does not count ten ticks a second of the elapsed time")
  endif()
endfunction()

# At 144 DPI (150 %): the window 150 % of 489 x 674, give or take one, and the
# title's descenders below where a 17 px box cut them and inside its box.
function(use_meter_at_144_dpi path)
  wine_prefix(set -DDPI=144)
  start_meter(wine ${path})
  window_size(size)
  set(shot ${prefix}-at-144-dpi.png)
  run(import -window ${window} ${shot})
  execute_process(COMMAND convert ${shot} -crop 686x36+24+12 +repage -fuzz 10% -format %@ info:
    OUTPUT_VARIABLE ink COMMAND_ERROR_IS_FATAL ANY)
  if(NOT ink MATCHES "^[0-9]+x([0-9]+)\\+[0-9]+\\+([0-9]+)$")
    message(FATAL_ERROR "At 144 DPI the title shows no ink (${shot})")
  endif()
  math(EXPR bottom "${CMAKE_MATCH_1} + ${CMAKE_MATCH_2}")
  message("At 144 DPI: the window ${size}, the title's ink ${ink} in its box of 686x36, to row ${bottom}")
  close_meter()
  if(NOT size MATCHES "^73[34]x10(1[012])$")
    message(FATAL_ERROR "At 144 DPI the window is not 150 % of 489x674")
  endif()
  if(bottom LESS_EQUAL 26 OR bottom GREATER_EQUAL 36)
    message(FATAL_ERROR "At 144 DPI the title's descenders are cut (${shot})")
  endif()
  wine_prefix(set -DDPI=96)
endfunction()

# The meter's files, its shortcut in the shared Start menu (Windows) or the
# user's, its entry among installed programs and the icon kept for it.
function(installed variable)
  file(GLOB menus "${prefix}/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu")
  execute_process(COMMAND find "${prefix}/drive_c/Program Files"
    "${prefix}/drive_c/ProgramData/Microsoft/Windows/Start Menu" ${menus}
    "${prefix}/drive_c/windows/Installer" -iname *watt* OUTPUT_VARIABLE found ERROR_QUIET)
  foreach(key "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" "HKCR\\Installer\\Products")
    execute_process(COMMAND wine reg query ${key} /s OUTPUT_VARIABLE entries ERROR_QUIET)
    string(REGEX REPLACE "[\r ]+" " " entries "\n${entries}")
    string(REGEX MATCHALL "\n (DisplayName|DisplayVersion|Publisher|ProductIcon) [^\n]*" entries "${entries}")
    string(APPEND found ${entries})
  endforeach()
  set(${variable} "${found}" PARENT_SCOPE)
endfunction()
function(left_nothing)
  installed(now)
  if(NOT now STREQUAL "")
    message(FATAL_ERROR "Uninstalling left this behind:\n${now}")
  endif()
endfunction()

wine_prefix(start)
if(PACKAGE MATCHES "\\.zip$")
  set(unpacked ${prefix}/drive_c/users/Public/Downloads/unpacked)
  file(ARCHIVE_EXTRACT INPUT ${PACKAGE} DESTINATION ${unpacked})
  use_meter(${unpacked}/wattmeter/wattmeter.exe)
  return()
endif()

set(program "C:\\Program Files\\wattmeter\\wattmeter.exe")
file(READ ${WXS} description)
string(REGEX MATCH "<Product Id=\"([^\"]*)\"" product "${description}")
set(PRODUCT_CODE ${CMAKE_MATCH_1})
run(wine msiexec /i ${PACKAGE} /qn)
installed(now)
foreach(expected "/Program Files/wattmeter/wattmeter.exe" "/Start Menu/Programs/Watt Hour Simulator.lnk"
    " DisplayName REG_SZ wattmeter" " DisplayVersion REG_SZ ${VERSION}" " Publisher REG_SZ wattmeter developers"
    " ProductIcon REG_SZ C:\\windows\\Installer\\{${PRODUCT_CODE}}\\wattmeter.ico"
    "/windows/Installer/{${PRODUCT_CODE}}/wattmeter.ico")
  string(FIND "${now}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Installing did not make ...${expected}; installed:\n${now}")
  endif()
endforeach()
use_meter(${program})
use_meter_at_144_dpi(${program})
run(wine msiexec /x ${PACKAGE} /qn)
left_nothing()

# The next release's installer, as far as Windows can tell: the same
# description with a higher version and a product code of its own.
string(UUID later_code NAMESPACE ${PRODUCT_CODE} NAME later TYPE SHA1 UPPER)
string(REGEX REPLACE "Product Id=\"[^\"]*\"" "Product Id=\"${later_code}\"" description "${description}")
string(REPLACE " Version=\"${VERSION}\"" " Version=\"${VERSION}.1\"" description "${description}")
set(later ${prefix}-later)
file(WRITE ${later}.wxs "${description}")
# wixl finds the icon from the checkout, as CPack's packaging runs it.
execute_process(COMMAND wixl --arch x64 --define SourceDir=${WORK}/wattmeter --output ${later}.msi
  ${later}.wxs ${WORK}/unsigned/folder.wxs WORKING_DIRECTORY ${SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
run(wine msiexec /i ${PACKAGE} /qn)
run(wine msiexec /i ${later}.msi /qn)
installed(now)
string(REGEX MATCHALL "\n DisplayVersion [^\n]*" versions "${now}")
if(NOT versions STREQUAL "\n DisplayVersion REG_SZ ${VERSION}.1" OR NOT now MATCHES "/Program Files/wattmeter/wattmeter.exe")
  message(FATAL_ERROR "The later version did not replace this one; installed:\n${now}")
endif()
run(wine msiexec /x ${later}.msi /qn)
left_nothing()
