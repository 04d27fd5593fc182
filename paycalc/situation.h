// An employee's situation, as the window's inputs hold it, and its slip.
//
// A Situation is what a user chooses in the window: the positions of the seven
// lists, the mutual-insurance box and the four typed texts. ComputeSlip puts it
// into an in-memory form and runs RecalculateAll once: every amount of every
// feature built on situations (comparisons, the career ladder, checking an
// official slip, the batch) comes from that one run, never from a second copy
// of a pay rule.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/fields.h"
#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/trace.h"

namespace paycalc {

// A fresh situation is the window at start-up: its lists' selections, its
// check box and the typed fields' first texts.
struct Situation {
    int category = kStartupSelection[kCategoryList] + 1; // grade category 1..17: Combo1(0) at position category - 1
    int echelon = kStartupSelection[kEchelonList];       // 0..12: Combo1(1)
    int post = kStartupSelection[kPostList];             // row 0..10 of the specific-post table, 0 = none: Combo1(4)
    int children = kStartupSelection[kChildrenList];     // 0..12: Combo1(2)
    int overTen = kStartupSelection[kOverTenList];       // 0..12: Combo1(3)
    int status = kStartupSelection[kFamilyStatusList];   // Combo1(5): 0 single ("عازب"), 1 married ("متزوج")
    int spouse = kStartupSelection[kSpouseList];         // Combo1(6): 0 at home ("ماكثة"), 1 working ("عاملة")
    bool mutual = kMutualTickedAtStartup;                // Check1
    std::string zone{InitialText(Field::Text10)};        // Text10, as typed
    std::string housing{InitialText(Field::Text11)};     // Text11, as typed
    std::string absence{InitialText(Field::Text20)};     // Text20, as typed
    std::string mark{InitialText(Field::Text23)};        // Text23, as typed

    bool married() const { return status != 0; }
    bool spouseWorking() const { return spouse != 0; }

    // The selected position of Combo1(list), and the reverse.
    int ListPosition(int list) const;
    void SetListPosition(int list, int position);
    // The typed text of Text10, Text11, Text20 or Text23.
    const std::string& Typed(Field f) const;
    std::string& Typed(Field f);

    // Why the window could never show this situation (a list position out of
    // its list, or single with a children count above 0), in English; empty
    // when it could.
    std::string Problem() const;

    bool operator==(const Situation&) const = default;
};

// Puts the situation into the form's lists, check box and typed fields, as
// picks and typing in the window would.
void FillForm(MemoryForm& form, const Situation& situation);

// The slip of a situation: every field's text after one RecalculateAll, or
// the error that stopped it (the lines it did not reach are then empty).
struct Slip {
    Situation situation;
    std::array<std::string, kFieldCount> texts;
    std::optional<RecalcError> error;
    Trace trace; // filled only when the slip was computed with explanations

    bool ok() const { return !error.has_value(); }
    const std::string& Text(Field f) const { return texts[static_cast<std::size_t>(Index(f))]; }
};

// Computes slips one after another on one in-memory form, so that a run of
// many slips (a ladder, a batch) builds its lists only once. Not shared
// between threads: give each thread its own.
class SlipComputer {
public:
    SlipComputer();
    // Throws std::invalid_argument when situation.Problem() is not empty.
    Slip Compute(const Situation& situation, bool explain = false);
    // The same, into an existing slip (its texts are reused).
    void Compute(const Situation& situation, Slip& out, bool explain = false);

    // This thread's own computer, made once: building a form's lists costs
    // about as much as a recalculation, so a run of slips should not pay it
    // for every call. Every Compute fills the whole form afresh.
    static SlipComputer& ForThisThread();

private:
    // The entries of the seven lists, built once.
    std::array<std::vector<std::string>, kComboCount> entries_;
};

// One slip; throws std::invalid_argument for a situation the window could not show.
Slip ComputeSlip(const Situation& situation, bool explain = false);

// Readable names of the computed lines, as the command line's tables and
// options, the batch's columns and the batch dialog's totals show them:
// "net_pay" for Text21, and so on.
std::string_view LineName(Field f);
// Accepts a field name ("Text21") or a line's readable name ("net_pay").
bool ParseLineName(std::string_view name, Field& out);

} // namespace paycalc
