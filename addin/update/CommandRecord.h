#pragma once
#include "base/MKString.h"
#include <stdint.h>

class MKSharedSecurity;

// "cmd.dat": the add-in's request to the update add-in ("prepare", with 1 when
// the add-in runs automatically) and the update add-in's reply (an error code
// and a message) in the same record.
bool WriteCommandFile(const MKString& installationFolder, const MKSharedSecurity* security, int32_t value,
                      const MKString& text);
// False for a missing, foreign, cut or damaged file, or a version outside 1 to
// 10000.
bool ReadCommandFile(const MKString& installationFolder, int32_t* value, MKString* text);
void DeleteCommandFile(const MKString& installationFolder);
