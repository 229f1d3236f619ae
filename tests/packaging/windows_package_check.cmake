# Uses a Windows package PACKAGE as a person would, in a fresh wine prefix at
# $ENV{WINEPREFIX} on the X display given: the MSI installed, the meter used
# from it at 96 and 144 DPI, uninstalled with nothing left behind, and a
# later version installed over it and uninstalled; or the zip unpacked and
# the meter used from there. A CTest test of the Windows build (label
# "package"); WORK is CPack's folder of the meter, WXS the installer's
# description, VERSION the packages', SOURCE_DIR the checkout.
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS ${PACKAGE})
  message("Skipped: no ${PACKAGE}; \"cpack --preset windows\" makes it")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/wine_prefix.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/meter_on_screen.cmake)

# At the keyboard, and the program must then end. (Keys sent to its window
# alone fail under wine 10: they are let go on no window, and the next
# meter's window never shows.)
function(close_meter)
  xdotool(windowfocus ${window} key alt+F4)
  execute_process(COMMAND timeout 10 pidwait -x wattmeter.exe RESULT_VARIABLE status)
  if(status EQUAL 124)
    message(FATAL_ERROR "The meter was still running 10 s after Alt+F4")
  elseif(NOT status MATCHES "^[01]$") # 1: it had already ended
    message(FATAL_ERROR "pidwait could not wait for the meter: ${status}")
  endif()
endfunction()
function(field name variable) # the text of a field, copied as a user would
  press(${name})
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
  if(NOT size STREQUAL meter_size)
    message(FATAL_ERROR "The meter's window is ${size}, not ${meter_size}")
  endif()
  press(cmdReset) # 250 V, 4 A, total 0.000
  press(cmdStart)
  pause(3)
  press(cmdStop)
  field(txtWattHours total)
  field(txtTimeElapsed elapsed)
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

# At 144 DPI (150 %): the window 150 % of its size, give or take one, and the
# title's descenders below where a 17 px box cut them and inside its box.
function(use_meter_at_144_dpi path)
  set(DPI 144)
  apply_settings()
  start_meter(wine ${path})
  window_size(size)
  set(shot ${prefix}-at-144-dpi.png)
  must_run(import -window ${window} ${shot})
  meter_rect(Label14 title)
  foreach(side x y width height)
    list(POP_FRONT title at)
    math(EXPR ${side} "${at} * 3 / 2")
  endforeach()
  execute_process(COMMAND convert ${shot} -crop ${width}x${height}+${x}+${y} +repage -fuzz 10% -format %@ info:
    OUTPUT_VARIABLE ink COMMAND_ERROR_IS_FATAL ANY)
  if(NOT ink MATCHES "^[0-9]+x([0-9]+)\\+[0-9]+\\+([0-9]+)$")
    message(FATAL_ERROR "At 144 DPI the title shows no ink (${shot})")
  endif()
  math(EXPR bottom "${CMAKE_MATCH_1} + ${CMAKE_MATCH_2}")
  message("At 144 DPI: the window ${size}, the title's ink ${ink} in its box of ${width}x${height}, to row ${bottom}")
  close_meter()
  string(REGEX MATCHALL "[0-9]+" sides "${size} ${meter_size}")
  list(POP_FRONT sides shown_width shown_height form_width form_height)
  math(EXPR off_width "2 * ${shown_width} - 3 * ${form_width}")
  math(EXPR off_height "2 * ${shown_height} - 3 * ${form_height}")
  if(off_width GREATER 2 OR off_width LESS -2 OR off_height GREATER 2 OR off_height LESS -2)
    message(FATAL_ERROR "At 144 DPI the window is ${size}, not 150 % of ${meter_size}")
  endif()
  if(bottom LESS_EQUAL 26 OR bottom GREATER_EQUAL height)
    message(FATAL_ERROR "At 144 DPI the title's descenders are cut (${shot})")
  endif()
  set(DPI 96)
  apply_settings()
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

start_prefix()
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
must_run(wine msiexec /i ${PACKAGE} /qn)
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
must_run(wine msiexec /x ${PACKAGE} /qn)
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
must_run(wine msiexec /i ${PACKAGE} /qn)
must_run(wine msiexec /i ${later}.msi /qn)
installed(now)
string(REGEX MATCHALL "\n DisplayVersion [^\n]*" versions "${now}")
if(NOT versions STREQUAL "\n DisplayVersion REG_SZ ${VERSION}.1" OR NOT now MATCHES "/Program Files/wattmeter/wattmeter.exe")
  message(FATAL_ERROR "The later version did not replace this one; installed:\n${now}")
endif()
must_run(wine msiexec /x ${later}.msi /qn)
left_nothing()
