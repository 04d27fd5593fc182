// Checks of what the window shows against a fresh computation of the same
// inputs, for a slip that computes and for one whose computation stops.
#pragma once

#include <QString>

#include "paycalc/fields.h"
#include "tests/memory_form.h"

class Form1;

namespace hardening {

struct SlipCheck {
    // Whether the computation stops on the window's current inputs.
    bool stopped = false;
    // What the window shows wrongly, one item per line; empty when it agrees.
    QString problems;
};

// Runs the computation afresh on the window's current inputs and compares.
// When it computes: every field, hidden working fields included, equals the
// fresh slip and no message is shown. When it stops: the message is shown,
// every line the computation reached holds its new text, and every line it
// did not reach is empty, so that no earlier amount passes for a current one.
SlipCheck CheckSlip(Form1 &form);

// The computed lines (hidden working fields included) whose text in the
// window differs from `expected`, one per line; empty when they all agree.
QString ComputedDifferences(Form1 &form, const paycalc::MemoryForm &expected);

// The slip of a window just opened: every input at its start-up value.
paycalc::MemoryForm StartupSlip();

// The caption the window's message uses to name a field.
QString Title(paycalc::Field field);

QString Name(paycalc::Field field); // "Text10"

} // namespace hardening
