// The window as the computation sees it: named text boxes, the drop-down
// lists' texts and selections, and the mutual-insurance box. The Qt window and
// the in-memory form used by the command line and the tests implement it.
#pragma once

#include <string>

#include "paycalc/fields.h"

namespace paycalc {

class PayForm {
public:
    virtual ~PayForm() = default;

    virtual std::string Text(Field field) const = 0;
    virtual void SetText(Field field, const std::string &text) = 0;

    // Combo1(list): the text of its edit field, and the selected position
    // (-1 while nothing is selected).
    virtual std::string ListText(int list) const = 0;
    virtual int ListIndex(int list) const = 0;

    virtual CheckState Check() const = 0;
};

} // namespace paycalc
