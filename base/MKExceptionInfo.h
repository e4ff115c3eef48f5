#pragma once
#include <stdint.h>

// What a crash guard caught at one entry point: the code (0 nothing, -1 an
// exception that is not a translated fault), its text cut to 30 characters,
// and a copy of the fault's processor context. One static record per entry.
struct MKExceptionInfo {
    int32_t code;
    wchar_t description[32];
    uint8_t context[720];

    // Code -1, empty text, zeroed context.
    void Reset();
    // Copies the 720-byte context block (zeroed for null) and at most 30
    // characters of the text (empty for null), always terminated.
    void Set(int32_t code, const wchar_t* text, const void* source);
};
