#include "addin/update/RecordEnvelope.h"

#include "base/MKClock.h"
#include "base/MKRandom.h"
#include "base/MKSha1.h"

#include <string.h>

void ScrambleRecordBytes(uint8_t* bytes, int n, uint32_t seed, uint8_t mask)
{
    MKRandom random(seed ^ mask, 0);
    for (int i = 0; i < n; ++i)
        bytes[i] ^= random.NextByte();
}

bool SealRecord(MKByteArray& record, uint32_t seed, uint8_t mask)
{
    int n = record.GetCount();
    if (n < kRecordEnvelopeSize)
        return false;
    uint8_t* bytes = record.GetData();
    MKSha1Digest digest;
    MKSha1::Compute(bytes + kRecordEnvelopeSize, n - kRecordEnvelopeSize, &digest);
    memcpy(bytes, &seed, 4);
    memcpy(bytes + 4, digest.bytes, 20);
    ScrambleRecordBytes(bytes + kRecordEnvelopeSize, n - kRecordEnvelopeSize, seed, mask);
    return true;
}

bool OpenRecord(MKByteArray& record, uint8_t mask)
{
    int n = record.GetCount();
    if (n < kRecordEnvelopeSize)
        return false;
    uint8_t* bytes = record.GetData();
    uint32_t seed;
    memcpy(&seed, bytes, 4);
    ScrambleRecordBytes(bytes + kRecordEnvelopeSize, n - kRecordEnvelopeSize, seed, mask);
    MKSha1Digest digest;
    MKSha1::Compute(bytes + kRecordEnvelopeSize, n - kRecordEnvelopeSize, &digest);
    return memcmp(digest.bytes, bytes + 4, 20) == 0;
}

uint32_t NewRecordSeed()
{
    return uint32_t(MKReadTimeStampCounter());
}
