# Encodes drawn frames and a sound as a movie with velto-tool movie make.
# cmake -DTOOL=velto-tool -DFRAMES=dir -DSOUND=file -DOUT=movie -DFPS=24 -DHOLD=2 -P movie.cmake
file(GLOB frames LIST_DIRECTORIES false "${FRAMES}/F*.png")
list(SORT frames)
if(NOT frames)
  message(FATAL_ERROR "movie: ${FRAMES} holds no frames")
endif()
execute_process(COMMAND ${TOOL} movie make --fps ${FPS} --hold ${HOLD} --sound ${SOUND} ${OUT} ${frames}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "movie: velto-tool movie make failed for ${OUT}")
endif()
