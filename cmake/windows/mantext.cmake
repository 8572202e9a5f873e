# SPDX-License-Identifier: MIT
# cmake -DGROFF=... -DPAGE=man/xvantor.1 -DOUT=xvantor.txt -P mantext.cmake
# Plain text: no bold, underline or overstrike sequences, and CR LF line ends.
execute_process(COMMAND ${GROFF} -man -Tutf8 -P-c -P-b -P-o -P-u ${PAGE}
  OUTPUT_VARIABLE text RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "groff failed on ${PAGE}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
