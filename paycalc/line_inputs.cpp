#include "paycalc/line_inputs.h"

#include <array>
#include <cstddef>

#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"

namespace paycalc {

namespace {

using Behind = std::array<std::vector<Field>, kFieldCount>;

// Every line quotes the fields it read; a typed field is behind a line when
// the line quotes it or quotes a line it is behind. A member of the mutual
// insurance, so that every line reads what it can.
Behind Derive()
{
    MemoryForm form;
    form.SetCheck(CheckState::Checked);
    Trace trace;
    RecalculateAll(form, &trace);

    std::array<std::array<bool, kFieldCount>, kFieldCount> reads{};
    for (int f = 0; f < kFieldCount; ++f)
        if (const Explanation* e = trace.Find(static_cast<Field>(f)))
            for (const Quoted& q : e->quoted)
                if (q.field) reads[static_cast<std::size_t>(f)][static_cast<std::size_t>(Index(*q.field))] = true;
    // Lines only read lines computed before them; closing over the order of
    // computation is enough, but a fixed point needs no order at all.
    for (bool grew = true; grew;) {
        grew = false;
        for (std::size_t a = 0; a < reads.size(); ++a)
            for (std::size_t b = 0; b < reads.size(); ++b)
                if (reads[a][b])
                    for (std::size_t c = 0; c < reads.size(); ++c)
                        if (reads[b][c] && !reads[a][c]) reads[a][c] = grew = true;
    }
    Behind behind;
    for (std::size_t line = 0; line < reads.size(); ++line)
        for (Field typed : kTypedFields)
            if (reads[line][static_cast<std::size_t>(Index(typed))]) behind[line].push_back(typed);
    return behind;
}

} // namespace

const std::vector<Field>& TypedInputsBehind(Field line)
{
    static const Behind behind = Derive();
    return behind[static_cast<std::size_t>(Index(line))];
}

} // namespace paycalc
