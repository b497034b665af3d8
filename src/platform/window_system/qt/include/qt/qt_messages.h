#pragma once

namespace kt5::platform::qt {

// Routes Qt's own messages, for the rest of the run, to the program's diagnostic lines, each
// saying what failed: the display, the runtime directory, the compositor. A fatal one ends
// the program with an ordinary failure status after its line, rather than an abort.
void sayQtMessagesAsTheProgram();

} // namespace kt5::platform::qt
