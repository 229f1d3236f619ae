# A wine prefix for running the Windows build, at $ENV{WINEPREFIX}, and the
# environment every wine run of it takes. Included, its functions; run:
#
#   cmake [-DDLL_PATH=Z:a|Z:b] [-DOWN_FRAMES=ON] -DACTION=start -P wine_prefix.cmake
#   cmake -DACTION=run [-DDPI=N] [-DCONTRAST=...] [-DWINDOWS=11] [-DDARK=ON] [-DLOG=F] -P wine_prefix.cmake -- COMMAND...
#   cmake -DACTION=stop -P wine_prefix.cmake
#
# start makes it afresh, with one lasting wine server so that each program
# does not pay for starting its own, DLL_PATH as the Windows PATH, and with
# OWN_FRAMES wine drawing the windows' frames; run runs a command under the
# system settings given (apply_settings) and then puts the prefix back as it
# was, showing LOG (where Qt Test writes under wine, as its output does not
# reach a pipe); stop ends its programs and deletes it.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/must_run.cmake)
set(prefix $ENV{WINEPREFIX})
if(NOT prefix)
  message(FATAL_ERROR "WINEPREFIX is not set")
endif()
set(ENV{WINEDEBUG} -all)
set(ENV{FONTCONFIG_FILE} ${prefix}.fonts.conf)

# Plain wineboot: wine already sets up a new prefix before running it, and
# "--init" would start a second service manager, beside which COM's service
# fails to start, costing every program that uses COM (Qt's do) 20 s. What
# the server and wine's services print goes to a log, so that they do not
# hold a caller's output open.
function(start_server)
  set(log ${prefix}.log)
  execute_process(COMMAND wineserver --persistent COMMAND_ERROR_IS_FATAL ANY
    OUTPUT_FILE ${log} ERROR_FILE ${log})
  execute_process(COMMAND wineboot OUTPUT_FILE ${log} ERROR_FILE ${log} RESULT_VARIABLE status)
  if(status)
    file(READ ${log} said)
    message(FATAL_ERROR "wine could not set up its prefix in ${prefix}:\n${said}")
  endif()
endfunction()

function(stop_server)
  execute_process(COMMAND wineserver --kill OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND wineserver --wait OUTPUT_QUIET ERROR_QUIET)
endfunction()

# With its programs, and the folder in memory that it links to.
function(remove_prefix)
  stop_server()
  if(IS_SYMLINK ${prefix})
    file(READ_SYMLINK ${prefix} target)
    file(REMOVE_RECURSE ${target})
  endif()
  file(REMOVE_RECURSE ${prefix} ${prefix}.log ${prefix}.fonts.conf)
endfunction()

# A new prefix holds a copy of every wine DLL, some 700 MB, and a full disk
# shows only as wine failing to load kernel32.dll. So the prefix is a link to
# a folder in memory where there is room for it.
function(make_prefix)
  get_filename_component(parent ${prefix} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  execute_process(COMMAND df --output=avail -m /dev/shm ${parent} OUTPUT_VARIABLE free COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[0-9]+" free "${free}")
  list(POP_FRONT free in_memory on_disk)
  if(in_memory GREATER 1000)
    execute_process(COMMAND mktemp -d /dev/shm/wattmeter-wine.XXXXXX
      OUTPUT_VARIABLE target OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    file(CREATE_LINK ${target} ${prefix} SYMBOLIC)
  elseif(on_disk GREATER 1000)
    file(MAKE_DIRECTORY ${prefix})
  else()
    message(FATAL_ERROR "Wine needs about 1000 MB for its prefix; ${parent} has ${on_disk} MB free.")
  endif()
endfunction()

# The display's DPI, 96 at 100 %, which Qt takes its scale from; and
# Windows' high-contrast schemes as the system colours, with visual styles off
# as the high-contrast themes of Windows 7 turn them off. Wine reads both as
# its server starts.
function(apply_settings)
  if(DPI)
    must_run(wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d ${DPI} /f)
  endif()
  if(CONTRAST STREQUAL "black")
    set(colours "Hilight=26 235 255" "HilightText=0 0 0" "GrayText=63 242 63")
    set(ink "255 255 255")
    set(ground "0 0 0")
  elseif(CONTRAST STREQUAL "white")
    set(colours "Hilight=55 0 110" "HilightText=255 255 255" "GrayText=96 0 0")
    set(ink "0 0 0")
    set(ground "255 255 255")
  elseif(CONTRAST)
    message(FATAL_ERROR "CONTRAST is black or white, not ${CONTRAST}")
  endif()
  # The Windows release that wine reports, and Windows' setting for dark
  # applications.
  if(WINDOWS)
    must_run(wine reg add "HKCU\\Software\\Wine" /v Version /d win${WINDOWS} /f)
  endif()
  if(DARK)
    must_run(wine reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"
      /v AppsUseLightTheme /t REG_DWORD /d 0 /f)
  endif()
  if(CONTRAST)
    list(APPEND colours "Window=${ground}" "ButtonFace=${ground}" "WindowText=${ink}"
      "ButtonText=${ink}" "WindowFrame=${ink}" "ButtonHilight=${ink}" "ButtonDkShadow=${ink}"
      "ButtonShadow=128 128 128")
    foreach(pair IN LISTS colours)
      string(REGEX MATCH "^([^=]*)=(.*)$" pair "${pair}")
      must_run(wine reg add "HKCU\\Control Panel\\Colors" /v ${CMAKE_MATCH_1} /d ${CMAKE_MATCH_2} /f)
    endforeach()
    must_run(wine reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager"
      /v ThemeActive /d 0 /f)
  endif()
  stop_server()
  start_server()
endfunction()

function(start_prefix)
  if(NOT DEFINED ENV{DISPLAY})
    message(FATAL_ERROR "wine needs an X display: run this under xvfb-run -a, or in a desktop session")
  endif()
  remove_prefix()
  make_prefix()
  # Under wine, as on a Windows that has neither, the two fonts the meter
  # ships beside its program must be found only there; Arial's metric twin
  # stands in for the Arial every Windows has, and wine's own fonts
  # (fonts-wine) for its system fonts. Wine is shown the folders of this
  # system's fonts less theirs (it reads whole folders, past fontconfig's
  # rejections), through FONTCONFIG_FILE, which every wine run of the
  # prefix is given: a restarted server scans the fonts anew.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=FONTCONFIG_FILE fc-list --format "%{file}\n"
    OUTPUT_VARIABLE files COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "/[^/\n]*\n" ";" folders "${files}")
  list(REMOVE_DUPLICATES folders)
  list(FILTER folders EXCLUDE REGEX "/(ocr-a|kaushanscript)$")
  list(TRANSFORM folders REPLACE "(.+)" "  <dir>\\1</dir>\n")
  string(JOIN "" folders ${folders})
  file(WRITE ${prefix}.fonts.conf "<fontconfig>\n${folders}</fontconfig>\n")
  # No offer to fetch Mono or Gecko, and no menu entries on the Linux
  # desktop for what is installed, this run or later.
  set(ENV{WINEDLLOVERRIDES} "winemenubuilder.exe=d;mscoree=d;mshtml=d")
  start_server()
  unset(ENV{WINEDLLOVERRIDES})
  must_run(wine reg add "HKCU\\Software\\Wine\\DllOverrides" /v winemenubuilder.exe /d "" /f)
  # Without a window manager, wine waits 2 s for one at every window it
  # hides; drawing the windows' frames itself, as Windows does, it closes
  # them at once.
  if(OWN_FRAMES)
    must_run(wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f)
  endif()
  if(DLL_PATH)
    string(REPLACE "|" ";" path "${DLL_PATH}")
    # One argument: a function would split the path at its semicolons.
    execute_process(COMMAND wine reg add "HKCU\\Environment" /v PATH /d "${path}" /f
      OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
endfunction()

if(NOT DEFINED ACTION)
  return()
elseif(ACTION STREQUAL "start")
  start_prefix()
elseif(ACTION STREQUAL "run")
  # The command is what follows "--".
  math(EXPR last "${CMAKE_ARGC} - 1")
  foreach(i RANGE ${last})
    if(DEFINED command)
      list(APPEND command "${CMAKE_ARGV${i}}")
    elseif(CMAKE_ARGV${i} STREQUAL "--")
      set(command "")
    endif()
  endforeach()
  set(settings ${DPI} ${CONTRAST} ${WINDOWS} ${DARK})
  if(settings)
    stop_server()
    file(COPY_FILE ${prefix}/user.reg ${prefix}/user.reg.saved)
    apply_settings()
  endif()
  if(LOG)
    file(REMOVE ${LOG})
  endif()
  execute_process(COMMAND ${command} RESULT_VARIABLE status)
  if(LOG AND EXISTS ${LOG})
    file(READ ${LOG} said)
    message("${said}")
  endif()
  if(settings)
    stop_server()
    file(RENAME ${prefix}/user.reg.saved ${prefix}/user.reg)
    start_server()
  endif()
  if(status)
    message(FATAL_ERROR "${command}: ${status}")
  endif()
elseif(ACTION STREQUAL "stop")
  remove_prefix()
else()
  message(FATAL_ERROR "ACTION is start, run or stop")
endif()
