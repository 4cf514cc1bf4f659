# Shared by the end-to-end checks of cirquel-cli (run with -DCLI=... -P).
# run_cli(out status ARGS...): `out` gets standard output, `last_stderr`
# standard error. With -DCONFIG_DIR=... the tool's configuration folder is
# one of the test's own, and so is its data folder.
function(run_cli out_var status_var)
  set(env)
  if(DEFINED CONFIG_DIR)
    # The user's own sheets too: never the real user's.
    set(env ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${CONFIG_DIR} XDG_DATA_HOME=${CONFIG_DIR}/data)
  endif()
  execute_process(COMMAND ${env} ${CLI} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE st)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${status_var} "${st}" PARENT_SCOPE)
  set(last_stderr "${err}" PARENT_SCOPE)
endfunction()

# expect("what went wrong" CONDITION...)
function(expect message)
  get_filename_component(contract ${CMAKE_SCRIPT_MODE_FILE} NAME_WE)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${contract}: ${message}")
  endif()
endfunction()
