#pragma once
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKInFileStream.h"
#include "base/MKMemOutStream.h"

class MKString;

// The small binary records of the updater folder. A record is built in memory
// and then written beside its file and swapped in, so a failure mid-write
// leaves the earlier file whole, never a truncated one or none.
class RecordFileWriter {
public:
    RecordFileWriter() : m_writer(&m_memory) {}
    RecordFileWriter(const RecordFileWriter&) = delete;
    RecordFileWriter& operator=(const RecordFileWriter&) = delete;

    MKBinaryWriter& Writer() { return m_writer; }
    // The empty extension block that ends every record and entry.
    void WriteExtension() { m_writer.WriteU32(0); }
    // False when a write failed or the file cannot be replaced.
    bool SaveTo(const MKString& path);

private:
    MKMemOutStream m_memory;
    MKBinaryWriter m_writer;
};

// Reads a record file field by field; errors latch in the stream, so a caller
// reads a whole record and asks IsOk once.
class RecordFileReader {
public:
    RecordFileReader() : m_reader(&m_file) {}
    RecordFileReader(const RecordFileReader&) = delete;
    RecordFileReader& operator=(const RecordFileReader&) = delete;

    // Opens the file and checks its magic and, when the version can be read,
    // that it lies in minVersion to 10000. A version that cannot be read
    // fails later through the stream's error.
    bool Open(const MKString& path, uint32_t magic, uint32_t minVersion);
    MKBinaryReader& Reader() { return m_reader; }
    // An integer that cannot be read counts as 0.
    int32_t ReadInt32();
    // Passes over an extension block.
    void SkipExtension();
    bool IsOk() const { return m_reader.IsOk(); }

private:
    MKInFileStream m_file;
    MKBinaryReader m_reader;
};
