#pragma once

namespace quvo {

// The program started for practice sheets (see sheets/sheetcommand.h): writes the PDF without
// a window or a display and returns the process's exit code: 0 when it is written, 2 for bad
// arguments or a folder that is not the program folder, 1 when the file cannot be written.
int RunSheetCommand(int argc, char** argv);

}  // namespace quvo
