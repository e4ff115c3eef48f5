#include "addin/imaging/drawing/SkVQZ_ICOChooser.h"

#include <stdlib.h>
#include <windows.h>

SkVQZ_ICOChooser::SkVQZ_ICOChooser(BitmapConfig config, int width, int height)
    : m_config(config), m_width(width > 0 ? width : GetSystemMetrics(SM_CXICON)),
      m_height(height > 0 ? height : GetSystemMetrics(SM_CYICON))
{
}

void SkVQZ_ICOChooser::Begin(int count)
{
    m_entries.assign(size_t(count > 0 ? count : 0), Entry{false, BitmapConfig::None, 0, 0});
}

void SkVQZ_ICOChooser::Inspect(int index, BitmapConfig config, int width, int height)
{
    if (index >= 0 && size_t(index) < m_entries.size())
        m_entries[size_t(index)] = Entry{true, config, width, height};
}

int SkVQZ_ICOChooser::Choose() const
{
    for (int i = int(m_entries.size()) - 1; i >= 0; --i) {
        const Entry& e = m_entries[size_t(i)];
        if (e.kept && e.config == m_config && e.width == m_width && e.height == m_height)
            return i;
    }
    return -1;
}

int SkVQZ_ICOChooser::ChooseNearest() const
{
    int best = -1;
    long long bestDistance = 0;
    int bestArea = 0;
    for (int i = int(m_entries.size()) - 1; i >= 0; --i) {
        const Entry& e = m_entries[size_t(i)];
        if (!e.kept || e.config != m_config)
            continue;
        long long distance = llabs(static_cast<long long>(e.width) - m_width) + llabs(static_cast<long long>(e.height) - m_height);
        int area = e.width * e.height;
        if (best < 0 || distance < bestDistance || (distance == bestDistance && area > bestArea)) {
            best = i;
            bestDistance = distance;
            bestArea = area;
        }
    }
    return best;
}
