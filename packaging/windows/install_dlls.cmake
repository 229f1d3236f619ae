# Run at install time, with the variables the install rules set. Installs
# into DESTINATION the DLLs that BINARIES load, and those that they load in
# turn, found in DLL_FOLDERS; what Windows itself provides (as wine's copy of
# it in WINDOWS_DLL_FOLDER shows) stays out. CMake's own lookup, on a Linux
# host, finds only DLLs whose names are in lower case, which misses Qt's
# (Qt6Core.dll); so CMake lists what each binary loads and the names are
# matched here whatever their case.
foreach(folder IN LISTS DLL_FOLDERS)
  file(GLOB dlls ${folder}/*.dll)
  foreach(dll IN LISTS dlls)
    get_filename_component(name ${dll} NAME)
    string(TOLOWER ${name} name)
    if(NOT DEFINED offered_${name})
      set(offered_${name} ${dll})
    endif()
  endforeach()
endforeach()

set(to_scan ${BINARIES})
while(to_scan)
  file(GET_RUNTIME_DEPENDENCIES
    LIBRARIES ${to_scan}
    DIRECTORIES ${WINDOWS_DLL_FOLDER}
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    POST_EXCLUDE_REGEXES "^${WINDOWS_DLL_FOLDER}/"
    UNRESOLVED_DEPENDENCIES_VAR needed)
  set(to_scan)
  foreach(name IN LISTS needed)
    # CMake 3.25 (Debian 12) gives these names in lower case, 3.31 (Debian
    # 13) as the binaries write them.
    string(TOLOWER ${name} name)
    if(DEFINED installed_${name} OR EXISTS ${WINDOWS_DLL_FOLDER}/${name})
      continue()
    endif()
    if(NOT DEFINED offered_${name})
      message(FATAL_ERROR "${name} is loaded but is in none of: ${DLL_FOLDERS}")
    endif()
    file(INSTALL ${offered_${name}} DESTINATION ${DESTINATION})
    set(installed_${name} TRUE)
    list(APPEND to_scan ${offered_${name}})
  endforeach()
endwhile()
