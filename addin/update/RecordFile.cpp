#include "addin/update/RecordFile.h"
#include "addin/update/PackageHeaderBlock.h"
#include "base/MKFile.h"

bool RecordFileWriter::SaveTo(const MKString& path)
{
    // The temporary file takes the folder's inherited (shared) security, and
    // reaches the disk before it is renamed: a record or the journal cut off
    // by a power loss is the earlier one, never an empty one.
    return m_writer.Close() && m_memory.GetError() == 0 &&
        MKWriteFile(path, m_memory.GetData(), m_memory.GetCount());
}

bool RecordFileReader::Open(const MKString& path, uint32_t magic, uint32_t minVersion)
{
    if (!m_file.Open(path.GetText()))
        return false;
    uint32_t value = 0;
    if (!m_reader.ReadU32(&value) || value != magic)
        return false;
    uint32_t version = 0;
    return !m_reader.ReadU32(&version) || (version >= minVersion && version <= 10000);
}

int32_t RecordFileReader::ReadInt32()
{
    int32_t value = 0;
    if (!m_reader.ReadInt32(&value))
        value = 0;
    return value;
}

void RecordFileReader::SkipExtension()
{
    SkipPackageExtension(m_reader);
}
