#include "base/MKWriteStdErr.h"

#include <io.h>
#include <string.h>

void MKWriteStdErr(const char* a, const char* b, const char* c, const char* d)
{
    const char* texts[] = {a, b, c, d};
    for (const char* text : texts) {
        if (text)
            _write(2, text, unsigned(strlen(text)));
    }
}
