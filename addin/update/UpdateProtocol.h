#pragma once
#include "base/MKDateTime.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"
#include <stdint.h>

class InstalledPlugins;
class MKQueryParams;
class ReadyRecord;
class ReadySetup;

// What a check tells the update service about the installation. The owner
// gathers it on its own thread; the checker's thread only reads its copy.
struct UpdateCheckFacts {
    // 32 upper-case hexadecimal digits; empty without a preferences record.
    MKString installationGuid;
    // Sent only when greater than 0.
    int32_t mbrid = 0;
    bool officeVersionKnown = false;
    int32_t officeVersion = 0;
    bool officeLanguageKnown = false;
    int32_t officeLanguage = 0;
    bool userLanguageKnown = false;
    int32_t userLanguage = 0;
    // Sent when not 0.
    int32_t windowsVersion = 0;
    // Sent when not empty.
    MKString usage;
    int32_t frequency = 0;
};

// One feature's recent uses for the usage string.
struct FeatureUses {
    int32_t id;
    int32_t recentUses;
};

// "2;uses of 1;uses of 2;source;system check" and ";ID:uses" per feature with
// recent uses of 0 or more (the id in six upper-case hexadecimal digits).
MKString MakeUsageString(int32_t usesOfFirst, int32_t usesOfSecond, int32_t source, int32_t systemCheck,
                         const MKTArray<FeatureUses>& features);

// The form of a check: iguid, mbrid, uwv, gv, flags, uf, mso_ver, mso_lcid,
// user_lcid, win_ver, addons, in that order, each as its rule says.
bool MakeCheckForm(const UpdateCheckFacts& facts, const MKVersion& productVersion, bool automatic,
                   bool firstCheck, MKQueryParams& form);
// The form of one package's download.
bool MakeDownloadForm(const UpdateCheckFacts& facts, const ReadySetup& setup, bool automatic, MKQueryParams& form);

// What the service's reply asks of the product settings.
struct CheckReplyEffects {
    bool disableAutoCheck = false;
    // 0, or a valid frequency code the service asks for.
    int32_t frequency = 0;
};

enum CheckReplyResult {
    CheckReplyNothingOffered = 0,
    CheckReplySetupsOffered = 1,
    // Not the service's reply, or a document that cannot be read.
    CheckReplyBad = 2,
};

// Reads a check reply: "check_for_updates_result_1\n" and a typed text
// document. Offered setups that the installed list does not hold in their
// version or newer go into ready (cleared first) with the check time, the
// offered version and kind 2.
int ParseCheckReply(const MKByteArray& body, const InstalledPlugins& installed, const MKDateTime& now,
                    ReadyRecord& ready, CheckReplyEffects& effects);
