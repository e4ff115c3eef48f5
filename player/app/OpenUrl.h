#pragma once

// Opens a target (address or file) with the shell's "open" verb, the shell
// library loaded for the call only. Nothing for null, nor when the library or
// its function is missing; the shell's answer is not looked at.
void OpenUrl(const char* target);
