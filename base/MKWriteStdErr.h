#pragma once

// Writes the four texts (8-bit, zero-terminated; a null one is skipped) in
// this order to the run-time library's standard error (descriptor 2).
void MKWriteStdErr(const char* a, const char* b, const char* c, const char* d);
