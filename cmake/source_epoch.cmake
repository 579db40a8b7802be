# velmar_source_epoch(OUT PATH): the time a build stamps into what it makes from the sources
# under PATH, in seconds since 1970, so two builds of one commit are byte-identical:
# SOURCE_DATE_EPOCH when set, else the time of the last commit that touched PATH, else (no git)
# the time of this run.
function(velmar_source_epoch out path)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(${out} $ENV{SOURCE_DATE_EPOCH} PARENT_SCOPE)
    return()
  endif()
  execute_process(
    COMMAND git log -1 --format=%ct -- .
    WORKING_DIRECTORY ${path}
    OUTPUT_VARIABLE epoch
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
  if(NOT epoch MATCHES "^[0-9]+$")
    string(TIMESTAMP epoch "%s" UTC)
  endif()
  set(${out} ${epoch} PARENT_SCOPE)
endfunction()

# velmar_source_date(OUT PATH FORMAT): that time in UTC, formatted as string(TIMESTAMP) does.
function(velmar_source_date out path format)
  velmar_source_epoch(epoch ${path})
  set(caller_epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  string(TIMESTAMP date "${format}" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${caller_epoch}")
  set(${out} ${date} PARENT_SCOPE)
endfunction()
