// The columns of a staff list: which header names are situation columns (by
// the command line's names or the window's Arabic labels), which name the
// employee for the printed slip, which are slip lines of an earlier run, and
// how the situation cells are read.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/situation.h"

namespace batch {

// The situation columns, in the order the outputs write them.
enum class Column : std::uint8_t {
    Category, Echelon, Post, Children, OverTen, Status, Spouse, Mutual, Zone, Housing, Absence, Mark,
};
inline constexpr std::size_t kColumnCount = 12;

struct ColumnNames {
    Column column;
    std::string_view name;                  // the command line's name: "over_ten"
    std::array<std::string_view, 4> others; // further accepted names (empty ones unused)
};
extern const std::array<ColumnNames, kColumnCount> kColumnNames;

std::string_view ColumnName(Column c);
// The column's name in the window's words: its input's caption
// (paycalc::CaptionOf) with the blanks and the ':' around it trimmed,
// "إختر الدرجة :" read "إختر الدرجة".
std::string_view ColumnLabel(Column c);
// A caption as a header name: blanks and ':' trimmed from both ends.
std::string_view TrimmedCaption(std::string_view caption);

// Who a slip is for, from the carried columns.
enum class IdentityPart : std::uint8_t { Name, Number, Workplace };
struct IdentityNames {
    IdentityPart part;
    std::array<std::string_view, 6> names;
};
extern const std::array<IdentityNames, 3> kIdentityNames;

// A header name as compared: blanks and ':' trimmed from both ends, runs of
// blanks made one, ASCII letters in lower case, '-' read as '_'.
std::string NormalName(std::string_view name);

// What each column of the header is.
struct Layout {
    enum Role : std::int8_t { Carried = -1, Recomputed = -2 };
    std::vector<std::int8_t> role;                // per input column: a Column, Carried or Recomputed
    std::array<int, kColumnCount> where{};        // input column of each situation column, or -1
    std::vector<std::size_t> carried;             // input columns carried through, in order
    std::array<int, 3> identity{-1, -1, -1};      // input columns of the name, number and workplace
    std::vector<std::string> recomputed;          // header names of slip lines computed afresh

    bool Has(Column c) const { return where[static_cast<std::size_t>(c)] >= 0; }
};

// False, with the reason, for a header the batch cannot use: an empty or
// repeated column name, or two columns for the same situation value. The
// reason in English for the command line; `arabic`, when given, receives it
// in the window's words.
bool MakeLayout(const std::vector<std::string>& header, Layout& out, std::string* error,
                std::string* arabic = nullptr);

// A message in two wordings: English for the command line and the error
// list, Arabic for the window. Empty when there is nothing to say.
struct Message {
    std::string english;
    std::string arabic;
    bool empty() const { return english.empty(); }
};

// The situation columns every staff list must give: no default stands for
// a whole office's category or echelon.
inline constexpr std::array<Column, 2> kRequiredColumns{Column::Category, Column::Echelon};
bool IsRequired(Column c);

// Why a header without a required column cannot be used, naming each one
// missing and the header names accepted for it; empty when none is missing.
Message MissingRequired(const Layout& layout);

// One note per other situation column the header leaves out, saying the
// default every row takes instead ("no 'children' column: every row counts
// 1 child"), in the order the outputs write the columns. The defaults are
// those of paycalc::Situation.
std::vector<Message> DefaultedColumns(const Layout& layout);

// One problem of a row.
struct Refusal {
    std::uint64_t line = 0;
    std::string column;  // the header name; empty when the row as a whole is at fault
    std::string text;    // the cell as read
    std::string message; // in English, as the command line and the error list write it
    std::string arabic;  // the same in Arabic, as the window shows it
};

// Reads one situation cell into the situation. `asTyped` keeps the typed
// amounts' text exactly as written, as the window reads typed text. An empty
// message when the cell is good; else what the cell must hold, quoting it.
Message ReadCell(Column c, std::string_view cell, bool asTyped, paycalc::Situation& s);

// What a column is, in the window's Arabic words: the situation column's
// label, "يعاد حسابه" for a slip line of an earlier run, "ينقل كما هو" for a
// carried column.
std::string ArabicRole(const Layout& layout, std::size_t column);

// The situation value as the outputs write it: "married", "yes", "12".
std::string CellText(Column c, const paycalc::Situation& s);

// Whether the text is a whole decimal number: digits with at most one point
// ("1500.50", "12", ".5"), blanks around it allowed.
bool IsDecimal(std::string_view text);

std::string_view Trim(std::string_view text);

} // namespace batch
