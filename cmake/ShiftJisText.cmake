# cmake -DSOURCES=a|b|... -DOUTPUT=file -P ShiftJisText.cmake
# Joins UTF-8 text sources into one file in code page 932 with CR LF line
# ends. A character without a Shift-JIS form fails the build.
string(REPLACE "|" ";" sources "${SOURCES}")
set(text "")
foreach(source ${sources})
  file(READ ${source} part)
  string(APPEND text "${part}")
endforeach()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
set(utf8 ${OUTPUT}.utf8)
file(WRITE ${utf8} "${text}")
execute_process(COMMAND iconv -f UTF-8 -t CP932 -o ${OUTPUT}.part ${utf8}
                RESULT_VARIABLE failed ERROR_VARIABLE why)
file(REMOVE ${utf8})
if(failed)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "${SOURCES}: no Shift-JIS form: ${why}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
