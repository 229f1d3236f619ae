# For the CMake scripts that drive the meter on an X display as a person
# would: the Windows packages' checks and scripts/screenshot.
include(${CMAKE_CURRENT_LIST_DIR}/meter_form.cmake)

function(pause seconds)
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep ${seconds})
endfunction()
# What xdotool printed, in "said"; empty where it failed.
function(xdotool)
  execute_process(COMMAND xdotool ${ARGN} OUTPUT_VARIABLE out ERROR_QUIET
    RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(status)
    set(out "")
  endif()
  set(said "${out}" PARENT_SCOPE)
endfunction()

# Starts the meter with the command given and sets "window" to its window,
# focused, as typing needs with no window manager to focus it.
function(start_meter)
  # On its own, as from a menu: its output kept from the caller's pipe.
  execute_process(COMMAND setsid -f ${ARGN} OUTPUT_FILE /dev/null ERROR_FILE /dev/null
    COMMAND_ERROR_IS_FATAL ANY)
  # Asked again where a window went while xdotool looked at it.
  execute_process(COMMAND timeout 60 sh -c [[until found=$(xdotool search --onlyvisible --name "$0" 2>/dev/null)
      do sleep 0.2; done; echo "$found"]] "^${meter_title}$" OUTPUT_VARIABLE window)
  string(REGEX MATCH "^[0-9]+" window "${window}")
  if(NOT window)
    message(FATAL_ERROR "The meter's window did not show within a minute: ${ARGN}")
  endif()
  xdotool(windowfocus ${window} sleep 1)
  set(window ${window} PARENT_SCOPE)
endfunction()

function(press name) # a control of the window, at its middle
  meter_rect(${name} rect)
  list(POP_FRONT rect x y width height)
  math(EXPR x "${x} + ${width} / 2")
  math(EXPR y "${y} + ${height} / 2")
  xdotool(mousemove --window ${window} ${x} ${y} click 1 sleep 0.3)
endfunction()
