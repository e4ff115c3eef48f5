#pragma once

// A value that may not be known yet: absent until Set. While absent, GetValue
// answers a value-initialised T (0, an empty string, version 0.0.-1.-1).
template <class T>
class MKOptional {
public:
    MKOptional() = default;

    void Set(const T& value)
    {
        m_value = value;
        m_present = true;
    }
    void Clear()
    {
        m_value = T();
        m_present = false;
    }
    bool IsPresent() const { return m_present; }
    const T& GetValue() const { return m_value; }

private:
    bool m_present = false;
    T m_value{};
};
