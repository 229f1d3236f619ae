# The target "bench" (cmake --build --preset default --target bench): runs
# each benchmark, the figures into OUT, and prints them as one table beside
# their aims and floors (bench_table.py). Figures only; run it on a quiet
# machine. BIN is the build's bench folder, METER the program.
function(gather what file)
  message(STATUS "${what} ...")
  execute_process(COMMAND ${ARGN} OUTPUT_FILE ${OUT}/${file} ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endfunction()
file(MAKE_DIRECTORY ${OUT})
set(ENV{QT_QPA_PLATFORM} offscreen)
set(repeated --benchmark_format=json --benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
gather("Ticking on the panel state" core.json ${BIN}/core_bench ${repeated})
gather("Ticking on the window" form1.json ${BIN}/form1_bench ${repeated})
gather("Counting real ticks for 2 x 10 s" accuracy.txt ${BIN}/tick_accuracy)
unset(ENV{QT_QPA_PLATFORM})
gather("Starting the meter and its floors on a virtual screen, then 3 x 2 x 20 s of CPU"
  screen.txt xvfb-run -a -s "-screen 0 640x720x24"
  ${BIN}/screen_probe ${METER} ${BIN}/bare_window ${BIN}/text_window)
execute_process(COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/bench_table.py ${OUT} COMMAND_ERROR_IS_FATAL ANY)
