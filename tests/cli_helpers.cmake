# Shared by the end-to-end checks of cirquel-cli (run with -DCLI=... -P).
# run_cli(out status ARGS...): `out` gets standard output, `cli_err` standard error.
function(run_cli out_var status_var)
  execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE st)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${status_var} "${st}" PARENT_SCOPE)
  set(cli_err "${err}" PARENT_SCOPE)
endfunction()

# expect("what went wrong" CONDITION...)
function(expect message)
  get_filename_component(contract ${CMAKE_SCRIPT_MODE_FILE} NAME_WE)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${contract}: ${message}")
  endif()
endfunction()
