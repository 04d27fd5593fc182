// What the fuzz targets hold every shown amount to.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzcheck {

[[noreturn]] inline void Fail(const char *what, const std::string &detail = {})
{
    std::fprintf(stderr, "%s %s\n", what, detail.c_str());
    std::abort();
}

// An optional minus sign, one or more digits, a point, exactly two digits.
inline bool IsShownAmount(const std::string &s)
{
    std::size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
    std::size_t point = s.find('.');
    if (point == std::string::npos || point == i || s.size() != point + 3) return false;
    for (std::size_t k = i; k < s.size(); ++k)
        if (k != point && (s[k] < '0' || s[k] > '9')) return false;
    return true;
}

} // namespace fuzzcheck
