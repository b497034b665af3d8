# The names of the tone files, as the tone command table in the code gives them: read from it,
# so that the build, the packages and the scripts never keep a list of their own.
file(STRINGS "${PROJECT_SOURCE_DIR}/src/tones/table/include/tones/tone_command_table.h"
     table_rows REGEX "^ *\\{\"[^\"]+\\.wav\",")
set(KT5_TONE_FILE_NAMES)
foreach(row IN LISTS table_rows)
  string(REGEX MATCH "[^\"]+\\.wav" name "${row}")
  list(APPEND KT5_TONE_FILE_NAMES "${name}")
endforeach()
if(NOT KT5_TONE_FILE_NAMES)
  message(FATAL_ERROR "no tone files found in the tone command table")
endif()
