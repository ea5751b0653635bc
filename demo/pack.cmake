# Packs every file of a folder into one archive with velto-tool arc create.
# cmake -DTOOL=velto-tool -DKIND=fjsys -DDIR=folder -DARCHIVE=out -P pack.cmake
file(GLOB files LIST_DIRECTORIES false "${DIR}/*")
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "pack: ${DIR} holds no files")
endif()
execute_process(COMMAND ${TOOL} arc create --kind ${KIND} ${ARCHIVE} ${files} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pack: velto-tool arc create failed for ${ARCHIVE}")
endif()
