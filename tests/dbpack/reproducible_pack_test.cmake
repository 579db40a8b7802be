# cmake -DDBPACK=... -DPACK_SCRIPT=... -DSOURCES=a;b -DWORK=folder -P reproducible_pack_test.cmake
# The demo database packed from two checkouts whose files carry different times, in different
# time zones, is byte-identical; packed with the files' own times the two differ, so the first
# check is not passed by an archive without time stamps.
file(REMOVE_RECURSE ${WORK})
set(checkouts "2001-09-09 01:46:40|Pacific/Auckland" "2020-09-13 12:26:40|America/New_York")
set(packs)
foreach(checkout ${checkouts})
  string(REPLACE "|" ";" checkout ${checkout})
  list(GET checkout 0 file_time)
  list(GET checkout 1 zone)
  string(MAKE_C_IDENTIFIER ${file_time} folder)
  set(folder ${WORK}/${folder})
  file(COPY ${SOURCES} DESTINATION ${folder})
  file(GLOB copies ${folder}/*)
  execute_process(COMMAND touch -d "${file_time}" ${copies} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=${zone} ${CMAKE_COMMAND} -DDBPACK=${DBPACK} -DPASSWORD=pw
            -DOUTPUT=${folder}/stamped.db "-DSOURCES=${copies}" -P ${PACK_SCRIPT}
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${DBPACK} ${folder}/file_times.db ${copies} COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND packs ${folder})
endforeach()
list(GET packs 0 first)
list(GET packs 1 second)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${first}/stamped.db ${second}/stamped.db
                RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "two packs of the same sources differ")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${first}/file_times.db
                        ${second}/file_times.db RESULT_VARIABLE differ)
if(NOT differ)
  message(FATAL_ERROR "the files' times do not reach the archive")
endif()
