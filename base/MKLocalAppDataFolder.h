#pragma once
#include "base/MKString.h"

// The user's local application-data folder with a trailing '\'; empty when
// the system cannot tell.
MKString MKGetLocalAppDataFolder();
