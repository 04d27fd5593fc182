// Helpers shared by the window tests: the slip the computation gives for the
// window's current inputs, and user-like actions on the controls.
#pragma once

#include <QString>

#include "paycalc/fields.h"
#include "tests/memory_form.h"

class Form1;
class QComboBox;
class QWidget;

namespace form1test {

// A form in memory holding the window's current inputs: selections and list
// texts, typed fields and the mutual-insurance box. Nothing is computed yet.
paycalc::MemoryForm InputsOf(const Form1 &form);

// The slip the computation gives for the window's current inputs.
paycalc::MemoryForm ExpectedSlip(const Form1 &form);

// The fields (hidden working fields included) whose text in the window
// differs from `expected`, one per line; empty when they all agree.
QString SlipDifferences(Form1 &form, const paycalc::MemoryForm &expected);

// The texts of the computed fields, for before/after comparisons.
QString ComputedTexts(Form1 &form);

// Picks entry `index` of a list the way a user does with the keyboard: one
// Up or Down key per step, each one a pick.
void PickByKeyboard(QComboBox *list, int index);

// Types one character into a widget as a key press and release carrying it.
void TypeCharacter(QWidget *widget, QChar c);
void TypeText(QWidget *widget, const QString &text);

// Selects the whole text of the focus-less widget with Ctrl+A.
void SelectAll(QWidget *widget);

} // namespace form1test
