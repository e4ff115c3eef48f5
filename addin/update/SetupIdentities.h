#pragma once
#include <windows.h>

// The setups the update engine knows by identity.
// The product's kernel module; kept first in "ready.dat" and "plugins.dat".
// {B80321F4-6A3C-48C1-89A9-FDCFF7BA605A}
const GUID kMainSetupGuid = {0xB80321F4, 0x6A3C, 0x48C1, {0x89, 0xA9, 0xFD, 0xCF, 0xF7, 0xBA, 0x60, 0x5A}};
// Carries the installer program VistelloUpdater (item kind 3).
// {C8D778F4-5666-4DE3-82BF-F55F5AF17CB4}
const GUID kInstallerSetupGuid = {0xC8D778F4, 0x5666, 0x4DE3, {0x82, 0xBF, 0xF5, 0x5F, 0x5A, 0xF1, 0x7C, 0xB4}};
// Carries a full setup program VistelloSetup (item kind 6).
// {5FE9860A-3BD3-4FE5-AFBB-51DC961F57A9}
const GUID kSetupProgramGuid = {0x5FE9860A, 0x3BD3, 0x4FE5, {0xAF, 0xBB, 0x51, 0xDC, 0x96, 0x1F, 0x57, 0xA9}};
