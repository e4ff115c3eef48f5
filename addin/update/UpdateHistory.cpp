#include "addin/update/UpdateHistory.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/RecordFile.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKPointerArrays.h"
#include "base/MKTextBuffer.h"

namespace {

const uint32_t kMagic = 0x72996BD4;
const int64_t kTicksMask = (int64_t(1) << 62) - 1;

const wchar_t* Word(const wchar_t* const* words, int count, int32_t value)
{
    return value >= 1 && value <= count ? words[value - 1] : L"";
}

const wchar_t* UpdateTypeWord(int32_t type, bool first)
{
    static const wchar_t* const kWords[] = {L"Install", L"Update", L"FullUpdate"};
    if (type == 1 && !first)
        return L"Reinstall";
    return Word(kWords, 3, type);
}

const wchar_t* MethodWord(int32_t method)
{
    static const wchar_t* const kWords[] = {L"ComAddIn", L"Standalone", L"Reboot", L"Installer"};
    return Word(kWords, 4, method);
}

const wchar_t* SetupTypeWord(int32_t type)
{
    static const wchar_t* const kWords[] = {L"Installed", L"Updated", L"Added"};
    return Word(kWords, 3, type);
}

// Local times are exported as their instant in UTC ticks, marked local.
uint64_t ExportedDate(const MKDateTime& date)
{
    if (date.GetKind() < MKDateTimeLocal)
        return date.GetValue();
    int64_t ticks = date.GetTicks() - date.OffsetToUtc();
    if (ticks < 0)
        ticks += int64_t(1) << 62;
    return uint64_t(ticks & kTicksMask) | (uint64_t(MKDateTimeLocal) << 62);
}

void CopySetup(SetupEntry& entry, const ReadySetup& setup)
{
    entry.name = setup.name;
    entry.guid = setup.guid;
    entry.version = setup.version;
    entry.setupType = setup.setupType;
}

} // namespace

UpdateEntry::~UpdateEntry()
{
    MKDeleteAllItems(m_setups);
}

SetupEntry* UpdateEntry::FindSetup(const MKGuid& guid) const
{
    for (int i = 0; i < m_setups.GetCount(); ++i) {
        if (m_setups[i]->guid == guid)
            return m_setups[i];
    }
    return nullptr;
}

SetupEntry* UpdateEntry::AddSetup()
{
    SetupEntry* setup = new SetupEntry;
    if (!m_setups.Add(setup)) {
        delete setup;
        return nullptr;
    }
    return setup;
}

UpdateHistory::UpdateHistory(const MKString& installationFolder) : m_installationFolder(installationFolder)
{
}

UpdateHistory::~UpdateHistory()
{
    MKDeleteAllItems(m_updates);
}

bool UpdateHistory::Load()
{
    MKDeleteAllItems(m_updates);
    RecordFileReader file;
    if (!file.Open(GetHistoryFilePath(m_installationFolder), kMagic, 0))
        return false;
    file.SkipExtension();
    // Entries are read one by one, never reserved by the count: a lying count
    // ends where the data does.
    int32_t count = file.ReadInt32();
    for (int i = 0; i < count; ++i) {
        if (!ReadUpdate(file))
            return false;
    }
    file.SkipExtension();
    return file.IsOk();
}

bool UpdateHistory::ReadUpdate(RecordFileReader& file)
{
    UpdateEntry* entry = new UpdateEntry;
    MKBinaryReader& reader = file.Reader();
    reader.ReadDateTime(&entry->dateTime);
    reader.ReadVersion(&entry->version);
    entry->updateType = file.ReadInt32();
    entry->method = file.ReadInt32();
    reader.ReadBool(&entry->flag);
    entry->reserved = file.ReadInt32();
    file.SkipExtension();
    int32_t setups = file.ReadInt32();
    for (int i = 0; i < setups && file.IsOk(); ++i) {
        SetupEntry* setup = entry->AddSetup();
        if (!setup)
            break;
        reader.ReadString(&setup->name);
        reader.ReadGuid(&setup->guid);
        reader.ReadVersion(&setup->version);
        setup->setupType = file.ReadInt32();
        file.SkipExtension();
    }
    file.SkipExtension();
    if (!file.IsOk() || setups < 0 || !m_updates.Add(entry)) {
        delete entry;
        return false;
    }
    return true;
}

bool UpdateHistory::Save(const MKSharedSecurity* security)
{
    return SaveTo(GetHistoryFilePath(m_installationFolder), security);
}

bool UpdateHistory::SaveTo(const MKString& path, const MKSharedSecurity* security)
{
    if (!EnsureUpdaterFolder(m_installationFolder, security))
        return false;
    RecordFileWriter file;
    MKBinaryWriter& writer = file.Writer();
    writer.WriteU32(kMagic);
    writer.WriteU32(1);
    file.WriteExtension();
    writer.WriteInt32(m_updates.GetCount());
    for (int i = 0; i < m_updates.GetCount(); ++i) {
        const UpdateEntry& entry = *m_updates[i];
        writer.WriteDateTime(entry.dateTime);
        writer.WriteVersion(entry.version);
        writer.WriteInt32(entry.updateType);
        writer.WriteInt32(entry.method);
        writer.WriteU8(entry.flag ? 1 : 0);
        writer.WriteInt32(entry.reserved);
        file.WriteExtension();
        writer.WriteInt32(entry.GetSetupCount());
        for (int j = 0; j < entry.GetSetupCount(); ++j) {
            const SetupEntry& setup = *entry.GetSetupAt(j);
            writer.WriteString(setup.name);
            writer.WriteGuid(setup.guid);
            writer.WriteVersion(setup.version);
            writer.WriteInt32(setup.setupType);
            file.WriteExtension();
        }
        file.WriteExtension();
    }
    file.WriteExtension();
    return file.SaveTo(path);
}

bool UpdateHistory::AddUpdate(const ReadyRecord& ready, int32_t method, bool flag)
{
    UpdateEntry* last = m_updates.IsEmpty() ? nullptr : m_updates[m_updates.GetCount() - 1];
    if (last && last->version == ready.version) {
        for (int i = 0; i < ready.GetSetupCount(); ++i) {
            const ReadySetup& setup = *ready.GetSetupAt(i);
            SetupEntry* entry = last->FindSetup(setup.guid);
            if (!entry)
                entry = last->AddSetup();
            if (entry)
                CopySetup(*entry, setup);
        }
        last->method = method;
        last->flag = flag;
        return true;
    }
    UpdateEntry* entry = new UpdateEntry;
    entry->dateTime = ready.dateTime;
    entry->version = ready.version;
    entry->updateType = ready.updateType;
    entry->method = method;
    entry->flag = flag;
    for (int i = 0; i < ready.GetSetupCount(); ++i) {
        SetupEntry* setup = entry->AddSetup();
        if (setup)
            CopySetup(*setup, *ready.GetSetupAt(i));
    }
    if (!m_updates.Add(entry))
        delete entry;
    return true;
}

MKString UpdateHistory::WriteXml() const
{
    MKTextBuffer xml;
    xml.AppendText(L"<history>\n");
    for (int i = 0; i < m_updates.GetCount(); ++i) {
        const UpdateEntry& entry = *m_updates[i];
        xml.AppendFormat(L"  <update date=\"%lld\" version=\"%ls\" type=\"%ls\" method=\"%ls\">\n",
                         (long long)ExportedDate(entry.dateTime), entry.version.ToString().GetText(),
                         UpdateTypeWord(entry.updateType, i == 0), MethodWord(entry.method));
        xml.AppendText(L"    <setups>\n");
        for (int j = 0; j < entry.GetSetupCount(); ++j) {
            const SetupEntry& setup = *entry.GetSetupAt(j);
            xml.AppendFormat(L"      <setup guid=\"%ls\" internalName=\"%ls\" version=\"%ls\" type=\"%ls\"/>\n",
                             setup.guid.FormatUpper().GetText(), EscapeXmlText(setup.name).GetText(),
                             setup.version.ToString().GetText(), SetupTypeWord(setup.setupType));
        }
        xml.AppendText(L"    </setups>\n");
        xml.AppendText(L"  </update>\n");
    }
    xml.AppendText(L"</history>\n");
    return xml.ToString();
}

MKString EscapeXmlText(const MKString& text)
{
    const wchar_t* special = L"\"&'<>";
    if (wcspbrk(text.GetText(), special) == nullptr)
        return text;
    MKTextBuffer escaped;
    for (int i = 0; i < text.GetLength(); ++i) {
        wchar_t c = text[i];
        if (c != 0 && wcschr(special, c))
            escaped.AppendFormat(L"&#%d;", int(c));
        else
            escaped.AppendChar(c);
    }
    return escaped.ToString();
}
