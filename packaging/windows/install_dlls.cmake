# Run at install time, with the variables the install rules set. Installs
# into DESTINATION the DLLs that BINARIES load, and those that they load in
# turn, found in DLL_FOLDERS; what Windows itself provides (as wine's copy of
# it in WINDOWS_DLL_FOLDER shows) stays out. CMake's own lookup, on a Linux host, finds only DLLs whose names are
# in lower case, which misses Qt's (Qt6Core.dll); so CMake lists what each
# binary loads and the names are matched here whatever their case.
set(to_scan ${BINARIES})
set(installed)
while(to_scan)
  file(GET_RUNTIME_DEPENDENCIES
    LIBRARIES ${to_scan}
    DIRECTORIES ${WINDOWS_DLL_FOLDER}
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    POST_EXCLUDE_REGEXES "^${WINDOWS_DLL_FOLDER}/"
    UNRESOLVED_DEPENDENCIES_VAR needed)
  set(to_scan)
  foreach(name IN LISTS needed)
    list(FIND installed ${name} done)
    if(done GREATER -1)
      continue()
    endif()
    set(found)
    foreach(folder IN LISTS DLL_FOLDERS)
      file(GLOB candidates ${folder}/*.dll)
      foreach(candidate IN LISTS candidates)
        get_filename_component(candidate_name ${candidate} NAME)
        string(TOLOWER ${candidate_name} candidate_name)
        if(candidate_name STREQUAL name AND NOT found)
          set(found ${candidate})
        endif()
      endforeach()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "${name} is loaded but is in none of: ${DLL_FOLDERS}")
    endif()
    file(INSTALL ${found} DESTINATION ${DESTINATION})
    list(APPEND installed ${name})
    list(APPEND to_scan ${found})
  endforeach()
endwhile()
