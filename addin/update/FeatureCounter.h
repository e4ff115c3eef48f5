#pragma once
#include <stdint.h>

// Uses of one feature per day over a rolling window of 364 days: counter k
// holds the uses on day (current day - k). Days are usage day indices
// (UsageDay.h). A plain value.
class FeatureCounter {
public:
    static constexpr int kDays = 364;

    // Created on a day: first day = current day = day, no uses.
    FeatureCounter(int32_t id, int32_t day);
    // A stored counter of any length whose counter 0 stands for storedDay,
    // moved to day; counts outside the window are dropped.
    FeatureCounter(int32_t id, int32_t firstDay, const uint8_t* counters, int length, int32_t storedDay,
                   uint32_t total, int32_t day);

    int32_t GetId() const { return m_id; }
    int32_t GetFirstDay() const { return m_firstDay; }
    int32_t GetCurrentDay() const { return m_currentDay; }
    const uint8_t* GetCounters() const { return m_counters; }
    uint32_t GetTotal() const { return m_total; }

    // Makes counter 0 stand for the day: moving forward moves counts to higher
    // indices and drops those older than 363 days; moving back drops the days
    // after the new current day.
    void ShiftTo(int32_t day);
    // One use on the current day; false when its counter is full (255), which
    // stops the total as well.
    bool Count();
    // Sum of counters 0 .. n - 1 (n clipped to the window).
    int SumOfFirst(int n) const;

private:
    void Fill(const uint8_t* counters, int length, int32_t storedDay, int32_t day);

    int32_t m_id;
    int32_t m_firstDay;
    int32_t m_currentDay;
    uint32_t m_total;
    uint8_t m_counters[kDays];
};
