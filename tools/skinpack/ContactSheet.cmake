# cmake -DMONTAGE=... [-DFONT=file.ttf] -DSRC=dir -DOUT=file.png -P ContactSheet.cmake
# Every bitmap of the skin, enlarged three times without smoothing, on a
# checkered grey so that magenta (transparent) stands out, each labelled.
file(STRINGS ${SRC}/LIST entries)
set(images)
foreach(entry ${entries})
  if(entry MATCHES "\\.bmp$")
    list(APPEND images ${SRC}/${entry})
  endif()
endforeach()
list(APPEND images ${SRC}/halvixmenu.bmp)
set(font_option)
if(FONT AND EXISTS "${FONT}")
  set(font_option -font ${FONT})
endif()
execute_process(
  COMMAND ${MONTAGE} ${font_option} -label "%f (%wx%h)" -pointsize 13 -filter point
          ${images} -tile 4x -geometry 400x120+12+10 -background "#d8dde3" ${OUT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "montage failed: ${result}")
endif()
