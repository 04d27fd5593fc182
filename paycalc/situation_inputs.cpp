#include "paycalc/situation_inputs.h"

#include <stdexcept>

#include "paycalc/situation.h"

namespace paycalc {

std::string_view CaptionOf(const SituationInput& input)
{
    return input.caption.empty() ? FieldCaption(input.field) : input.caption;
}

const SituationInput& InputOfList(int list)
{
    for (const SituationInput& input : kSituationInputs)
        if (input.list == list && list >= 0) return input;
    throw std::out_of_range("no such list");
}

int ListValue(const Situation& situation, const SituationInput& input)
{
    if (input.list < 0) throw std::out_of_range("not a list input");
    return input.list == kCategoryList ? situation.category : situation.ListPosition(input.list);
}

int DefaultListValue(const SituationInput& input)
{
    return ListValue(Situation{}, input);
}

} // namespace paycalc
