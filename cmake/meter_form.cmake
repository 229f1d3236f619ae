# What the checks and scripts that drive the meter take from its Designer
# form, so that the form alone says it: meter_title, the window's title;
# meter_size, its size as WIDTHxHEIGHT; and meter_rect(NAME VARIABLE), where
# the control NAME lies in the window, as "X Y WIDTH HEIGHT".
include_guard(GLOBAL)
set(form_file ${CMAKE_CURRENT_LIST_DIR}/../src/window/form1.ui)
file(STRINGS ${form_file} form_lines)
# The widgets open at the line read, the window's own parent "none" at 0 0.
set(form_parents none)
set(form_none_x 0)
set(form_none_y 0)
foreach(line IN LISTS form_lines)
  if(line MATCHES "<widget class=\"[^\"]*\" name=\"([^\"]+)\"")
    # Placed in its parent; its geometry follows.
    list(GET form_parents -1 parent)
    set(form_${CMAKE_MATCH_1}_x ${form_${parent}_x})
    set(form_${CMAKE_MATCH_1}_y ${form_${parent}_y})
    set(form_${CMAKE_MATCH_1}_width 0)
    set(form_${CMAKE_MATCH_1}_height 0)
    list(APPEND form_parents ${CMAKE_MATCH_1})
    set(form_geometry x y width height)
  elseif(line MATCHES "</widget>")
    list(POP_BACK form_parents)
  elseif(form_geometry AND line MATCHES "<(x|y|width|height)>([0-9]+)<")
    list(GET form_parents -1 widget)
    math(EXPR form_${widget}_${CMAKE_MATCH_1} "${form_${widget}_${CMAKE_MATCH_1}} + ${CMAKE_MATCH_2}")
    list(REMOVE_ITEM form_geometry ${CMAKE_MATCH_1})
  endif()
endforeach()
set(meter_size ${form_Form1_width}x${form_Form1_height})
file(READ ${form_file} form)
string(REGEX MATCH "<property name=\"windowTitle\">[ \n]*<string>([^<]*)</string>" form "${form}")
set(meter_title "${CMAKE_MATCH_1}")

function(meter_rect name variable)
  if(NOT DEFINED form_${name}_width)
    message(FATAL_ERROR "The meter's form has no control ${name}")
  endif()
  set(${variable} ${form_${name}_x} ${form_${name}_y} ${form_${name}_width} ${form_${name}_height}
    PARENT_SCOPE)
endfunction()
