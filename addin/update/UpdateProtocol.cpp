#include "addin/update/UpdateProtocol.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/UpdateFrequency.h"
#include "base/MKDocArray.h"
#include "base/MKDocDictionary.h"
#include "base/MKDocParser.h"
#include "base/MKDocScalar.h"
#include "base/MKQueryParams.h"
#include "base/MKTextBuffer.h"

#include <string.h>

namespace {

const char kReplyMagic[] = "check_for_updates_result_1\n";
const int kReplyMagicLength = 27;

MKString Number(int32_t value)
{
    MKTextBuffer text;
    text.AppendFormat(L"%d", value);
    return text.ToString();
}

bool SetCommon(const UpdateCheckFacts& facts, MKQueryParams& form)
{
    return form.Set(L"iguid", facts.installationGuid) &&
        (facts.mbrid <= 0 || form.Set(L"mbrid", Number(facts.mbrid))) && form.Set(L"uwv", L"1");
}

template <typename Node>
Node* Typed(MKDocDictionary* dictionary, const wchar_t* key, int kind)
{
    MKDocNode* node = dictionary->Find(key);
    return node && node->GetKind() == kind ? static_cast<Node*>(node) : nullptr;
}

// One offered setup; null unless every field is there with its type and the
// action is "Install".
ReadySetup* TakeSetup(MKDocNode* node, ReadyRecord& ready)
{
    MKDocDictionary* entry = MKDocAsDictionary(node);
    if (!entry)
        return nullptr;
    MKDocString* name = Typed<MKDocString>(entry, L"InternalName", MKDocKindString);
    MKDocGuid* guid = Typed<MKDocGuid>(entry, L"Guid", MKDocKindGuid);
    MKDocVersion* version = Typed<MKDocVersion>(entry, L"Version", MKDocKindVersion);
    MKDocInt32* size = Typed<MKDocInt32>(entry, L"Size", MKDocKindInt32);
    MKDocString* action = Typed<MKDocString>(entry, L"Action", MKDocKindString);
    if (!name || !guid || !version || !size || !action || !action->GetValue().Equals(L"Install"))
        return nullptr;
    ReadySetup* setup = new ReadySetup(&ready);
    setup->name = name->GetValue();
    setup->guid = guid->GetValue();
    setup->version = version->GetValue();
    setup->size = size->GetValue();
    return setup;
}

} // namespace

MKString MakeUsageString(int32_t usesOfFirst, int32_t usesOfSecond, int32_t source, int32_t systemCheck,
                         const MKTArray<FeatureUses>& features)
{
    MKTextBuffer text;
    text.AppendFormat(L"2;%d;%d;%d;%d", usesOfFirst, usesOfSecond, source & 0xFF, systemCheck);
    for (int i = 0; i < features.GetCount(); ++i) {
        if (features[i].recentUses >= 0)
            text.AppendFormat(L";%06X:%d", features[i].id, features[i].recentUses);
    }
    return text.ToString();
}

bool MakeCheckForm(const UpdateCheckFacts& facts, const MKVersion& productVersion, bool automatic,
                   bool firstCheck, MKQueryParams& form)
{
    int32_t flags = (automatic ? 1 : 0) | (firstCheck ? 2 : 0);
    return SetCommon(facts, form) && form.Set(L"gv", productVersion.ToString()) &&
        form.Set(L"flags", Number(flags)) && form.Set(L"uf", Number(facts.frequency)) &&
        (!facts.officeVersionKnown || form.Set(L"mso_ver", Number(facts.officeVersion))) &&
        (!facts.officeLanguageKnown || form.Set(L"mso_lcid", Number(facts.officeLanguage))) &&
        (!facts.userLanguageKnown || form.Set(L"user_lcid", Number(facts.userLanguage))) &&
        (facts.windowsVersion == 0 || form.Set(L"win_ver", Number(facts.windowsVersion))) &&
        (facts.usage.IsEmpty() || form.Set(L"addons", facts.usage));
}

bool MakeDownloadForm(const UpdateCheckFacts& facts, const ReadySetup& setup, bool automatic, MKQueryParams& form)
{
    return SetCommon(facts, form) && form.Set(L"s", setup.guid.FormatLower()) &&
        form.Set(L"v", setup.version.ToString()) && (!automatic || form.Set(L"f", L"1"));
}

int ParseCheckReply(const MKByteArray& body, const InstalledPlugins& installed, const MKDateTime& now,
                    ReadyRecord& ready, CheckReplyEffects& effects)
{
    ready.Clear();
    effects = CheckReplyEffects();
    if (body.GetCount() < kReplyMagicLength || memcmp(body.GetData(), kReplyMagic, kReplyMagicLength) != 0)
        return CheckReplyBad;
    // The document as zero-terminated text; a zero inside ends it early and
    // the parser then sees a cut document.
    MKByteArray text;
    if (!text.SetSize(body.GetCount() - kReplyMagicLength + 1))
        return CheckReplyBad;
    memcpy(text.GetData(), body.GetData() + kReplyMagicLength, body.GetCount() - kReplyMagicLength);
    text[text.GetCount() - 1] = 0;
    MKDocParser parser(true);
    MKDocNode* document = parser.ParseDocument(reinterpret_cast<const char*>(text.GetData()));
    if (!document)
        return CheckReplyBad;
    int result = CheckReplyNothingOffered;
    MKDocDictionary* root = MKDocAsDictionary(document);
    if (root) {
        MKDocBool* disable = Typed<MKDocBool>(root, L"DisableAutoCheck", MKDocKindBool);
        effects.disableAutoCheck = disable && disable->GetValue();
        MKDocInt32* frequency = Typed<MKDocInt32>(root, L"UpdateCheckFreq", MKDocKindInt32);
        if (frequency && IsValidUpdateFrequency(frequency->GetValue()))
            effects.frequency = frequency->GetValue();
        MKDocVersion* version = Typed<MKDocVersion>(root, L"Version", MKDocKindVersion);
        MKDocArray* setups = MKDocAsArray(root->Find(L"Setups"));
        if (version && !setups) {
            result = CheckReplyBad;
        } else if (version) {
            for (int i = 0; i < setups->GetCount(); ++i) {
                ReadySetup* setup = TakeSetup(setups->GetAt(i), ready);
                if (!setup)
                    continue;
                InstalledPlugin* entry = installed.GetAt(installed.FindByGuid(setup->guid));
                if ((entry && !entry->version.IsLess(setup->version)) || ready.FindSetup(setup->guid) >= 0) {
                    delete setup;
                    continue;
                }
                setup->setupType = entry ? 2 : 3;
                ready.AddSetup(setup);
            }
            if (ready.GetSetupCount() > 0) {
                ready.dateTime = now;
                ready.version = version->GetValue();
                ready.kind = 2;
                result = CheckReplySetupsOffered;
            }
        }
    }
    delete document;
    if (result == CheckReplyBad)
        ready.Clear();
    return result;
}
