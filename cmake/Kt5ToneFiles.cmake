# The tone commands: the file each button plays, from beside the program, and the DTMF keys
# it holds, which are also the button's caption; in the order of the buttons, whose index is
# the command's number. The one list of them, for the code (src/tones/table), the build, the
# packages and the scripts. Literal names: these are the names users' tone files carry.
set(KT5_TONE_COMMANDS
  "00.wav=*00#" "01.wav=*01#" "02.wav=*02#" "03.wav=*03#" "04.wav=*04#" "05.wav=*05#"
  "06.wav=*06#" "07.wav=*07#" "08.wav=*08#" "09.wav=*09#" "10.wav=*10#")

set(KT5_TONE_FILE_NAMES)
set(KT5_TONE_TABLE_ROWS)
foreach(command IN LISTS KT5_TONE_COMMANDS)
  string(REPLACE "=" ";" fields "${command}")
  list(GET fields 0 file)
  list(GET fields 1 keys)
  list(APPEND KT5_TONE_FILE_NAMES "${file}")
  string(APPEND KT5_TONE_TABLE_ROWS "    {\"${file}\", \"${keys}\"},\n")
endforeach()
list(LENGTH KT5_TONE_COMMANDS KT5_TONE_COMMAND_COUNT)
