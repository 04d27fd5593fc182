// The columns of a staff list: which header names are situation columns
// (the engine's inputs, by the command line's names, the window's captions
// or the other names the inputs table gives), which name the employee for
// the printed slip, and which are slip lines of an earlier run. The cells
// are read by the engine's one reader of a situation (situation_inputs.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/situation_inputs.h"

namespace batch {

using paycalc::Input;
using paycalc::kInputCount;

// The column's name in the outputs: the input's name, '-' written '_' ("over_ten").
std::string ColumnName(Input input);
// The column's name in the window's words: its input's caption with the
// blanks and the ':' around it trimmed, "إختر الدرجة :" read "إختر الدرجة".
std::string_view ColumnLabel(Input input);

// A header name as compared: blanks and ':' trimmed from both ends, runs of
// blanks made one, ASCII letters in lower case, '-' read as '_'.
std::string NormalName(std::string_view name);

// What each column of the header is.
struct Layout {
    enum Role : std::int8_t { Carried = -1, Recomputed = -2 };
    std::vector<std::int8_t> role;           // per input column: an Input, Carried or Recomputed
    std::array<int, kInputCount> where{};    // input column of each situation input, or -1
    std::vector<std::size_t> carried;        // input columns carried through, in order
    std::array<int, 3> identity{-1, -1, -1}; // input columns of who a slip is for: name, number, workplace
    std::vector<std::string> recomputed;     // header names of slip lines computed afresh

    bool Has(Input c) const { return where[static_cast<std::size_t>(c)] >= 0; }
};

// A message in two wordings: English for the command line and the error
// list, Arabic for the window. Empty when there is nothing to say.
struct Message {
    std::string english;
    std::string arabic;
    bool empty() const { return english.empty(); }
};

// Why the batch cannot use a header (an empty or repeated column name, or two
// columns for the same situation value), naming no file; empty when it can.
Message MakeLayout(const std::vector<std::string> &header, Layout &out);

class CsvReader;
// Opens a staff list and lays out its header; why it cannot be used, naming
// the file, or empty (MakeLayout, then MissingRequired).
Message OpenStaffList(const std::string &path, CsvReader &reader, Layout &layout);

// Why a header without a required column (the category and the echelon: no
// default stands for a whole office's) cannot be used, naming each one
// missing and the header names accepted for it; empty when none is missing.
Message MissingRequired(const Layout &layout);

// One note per other situation column the header leaves out, saying the
// default every row takes instead ("no 'children' column: every row counts
// 1 child"), in the order the outputs write the columns. The defaults are
// those of paycalc::Situation.
std::vector<Message> DefaultedColumns(const Layout &layout);

// One problem of a row.
struct Refusal {
    std::uint64_t line = 0;
    std::string column;  // the header name; empty when the row as a whole is at fault
    std::string text;    // the cell as read
    std::string message; // in English, as the command line and the error list write it
    std::string arabic;  // the same in Arabic, as the window shows it
};

// What a column is, in the window's Arabic words: the situation column's
// label, "يعاد حسابه" for a slip line of an earlier run, "ينقل كما هو" for a
// carried column.
std::string ArabicRole(const Layout &layout, std::size_t column);

} // namespace batch
