# Puts the packed skin into the main form description: the line "@SkinStream@"
# of INPUT becomes the SkinStream property block read from SKIN_TEXT (or goes
# away when there is no skin), and the result is written to OUTPUT.
#   cmake -DINPUT=... -DOUTPUT=... [-DSKIN_TEXT=...] -P EmbedSkin.cmake
file(READ "${INPUT}" form)
set(block "")
if(SKIN_TEXT AND EXISTS "${SKIN_TEXT}")
  file(STRINGS "${SKIN_TEXT}" lines)
  foreach(line IN LISTS lines)
    string(APPEND block "  ${line}\n")
  endforeach()
endif()
string(REPLACE "    @SkinStream@\n" "${block}" form "${form}")
file(WRITE "${OUTPUT}" "${form}")
