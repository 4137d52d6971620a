# Renders the manual page as plain text for Windows users: groff without bold, underline or
# overstriking, at 78 columns, and lines ending with CR LF, as Notepad and `type` expect.
# Usage: cmake -DGROFF=groff -DPAGE=doc/fexpr.1 -DOUTPUT=fexpr-manual.txt -P render_manual.cmake
execute_process(COMMAND ${GROFF} -man -Tutf8 -P-cbou -rLL=78n -ww ${PAGE}
    OUTPUT_VARIABLE text ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff could not render ${PAGE} (status ${status}):\n${warnings}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUTPUT} "${text}")
