#pragma once
#include <string>
#include <vector>

// The paths of the open commands in a shell DDE execute string: a sequence
// of bracketed commands such as [open("C:\movie.swf")], names without regard
// to case, the argument quoted or bare. Other commands are skipped; false
// when the text is not a command sequence at all. Plain text, no windows.
bool MKParseShellOpenCommands(const std::string& text, std::vector<std::string>& paths);
