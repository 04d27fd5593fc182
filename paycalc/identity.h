// Who a printed slip is for: the employee's name, number and workplace, as
// the window, the command line's options or a staff list's columns give them.
// Plain data that is printed and nothing else: no pay rule reads it.
#pragma once

#include <string>

namespace paycalc {

// Empty texts are not printed.
struct Identity {
    std::string name;
    std::string number; // employee number
    std::string workplace;
    bool empty() const { return name.empty() && number.empty() && workplace.empty(); }
};

} // namespace paycalc
