#include "addin/update/FeatureCounter.h"

#include <string.h>

FeatureCounter::FeatureCounter(int32_t id, int32_t day)
    : m_id(id), m_firstDay(day), m_currentDay(day), m_total(0), m_counters()
{
}

FeatureCounter::FeatureCounter(int32_t id, int32_t firstDay, const uint8_t* counters, int length, int32_t storedDay,
                               uint32_t total, int32_t day)
    : m_id(id), m_firstDay(firstDay), m_currentDay(day), m_total(total)
{
    Fill(counters, length, storedDay, day);
}

void FeatureCounter::Fill(const uint8_t* counters, int length, int32_t storedDay, int32_t day)
{
    // New counter i stands for day (day - i), which the old array holds at
    // storedDay - (day - i); days before day 0 do not exist.
    uint8_t moved[kDays] = {};
    for (int i = 0; i < kDays && i <= day; ++i) {
        int64_t old = int64_t(storedDay) - (int64_t(day) - i);
        if (old >= 0 && old < length)
            moved[i] = counters[old];
    }
    memcpy(m_counters, moved, kDays);
    m_currentDay = day;
}

void FeatureCounter::ShiftTo(int32_t day)
{
    if (day != m_currentDay)
        Fill(m_counters, kDays, m_currentDay, day);
}

bool FeatureCounter::Count()
{
    if (m_counters[0] >= 255)
        return false;
    ++m_counters[0];
    ++m_total;
    return true;
}

int FeatureCounter::SumOfFirst(int n) const
{
    int sum = 0;
    for (int i = 0; i < n && i < kDays; ++i)
        sum += m_counters[i];
    return sum;
}
