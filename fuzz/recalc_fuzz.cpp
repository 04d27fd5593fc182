// A whole recalculation on fuzzed typed texts and list positions: every line
// ends as a shown amount, or the run stops with an error naming its line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/shown_amount.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"

using fuzzcheck::Fail;
using fuzzcheck::IsShownAmount;

// Layout: 7 bytes of list positions, 1 byte for the check box, then the texts
// of Text10, Text11, Text20 and Text23 separated by 0xFF bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 8) return -1;
    paycalc::MemoryForm form;
    for (int list = 0; list < paycalc::kComboCount; ++list) form.Select(list, data[list] % form.ListCount(list));
    form.SetCheck(static_cast<paycalc::CheckState>(data[7] % 3));

    const paycalc::Field typed[] = {paycalc::Field::Text10, paycalc::Field::Text11, paycalc::Field::Text20,
                                    paycalc::Field::Text23};
    std::vector<std::string> texts(1);
    for (std::size_t i = 8; i < size; ++i) {
        if (data[i] == 0xFF) texts.emplace_back();
        else texts.back() += static_cast<char>(data[i]);
    }
    for (std::size_t i = 0; i < 4 && i < texts.size(); ++i) form.SetText(typed[i], texts[i]);

    try {
        paycalc::RecalculateAll(form);
    } catch (const paycalc::RecalcError &e) {
        if (paycalc::FieldName(e.step()).empty()) Fail("an error that names no line");
        return 0;
    }
    for (paycalc::Field f : paycalc::kComputedFields)
        if (!IsShownAmount(form.Text(f))) Fail("a line that is not an amount:", form.Text(f));
    return 0;
}
