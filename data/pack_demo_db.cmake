# cmake -DDBPACK=... -DPASSWORD=... -DOUTPUT=... -DSOURCES=a;b -P pack_demo_db.cmake
# Packs the demo database at build time, when a commit since configuring may have changed the
# sources' time. The archive holds local clock times; packing in UTC keeps it independent of the
# machine's zone.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/source_epoch.cmake)
velmar_source_epoch(epoch ${CMAKE_CURRENT_LIST_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${DBPACK} --compress --password ${PASSWORD} --time ${epoch}
          ${OUTPUT} ${SOURCES}
  COMMAND_ERROR_IS_FATAL ANY)
