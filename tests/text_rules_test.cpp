// The control-character rule shared by every reader of outside text.
#include <gtest/gtest.h>

#include <string>

#include "paydata/text_rules.h"

namespace {

using paydata::LineBreaks;

struct ControlCase {
    const char *name;
    std::string text;
    LineBreaks lineBreaks;
    const char *code;     // the first control character named, empty when the text is good
    std::size_t position; // its character, from 1
};

std::vector<ControlCase> Cases()
{
    using std::string_literals::operator""s;
    return {
        {"plain_ascii", "Ali Benali", LineBreaks::Refused, "", 0},
        {"arabic", "علي بن علي", LineBreaks::Refused, "", 0},
        {"empty", "", LineBreaks::Refused, "", 0},
        {"tab_kept", "Ali\tBenali", LineBreaks::Refused, "", 0},
        {"nul_at_start", "\0Ali"s, LineBreaks::Refused, "U+0000", 1},
        {"nul_in_middle", "Al\0i"s, LineBreaks::Refused, "U+0000", 3},
        {"nul_at_end", "Ali\0"s, LineBreaks::Refused, "U+0000", 4},
        {"bell", "A\x07", LineBreaks::Refused, "U+0007", 2},
        {"escape", "\x1b[31m", LineBreaks::Refused, "U+001B", 1},
        {"unit_separator", "a\x1f", LineBreaks::Refused, "U+001F", 2},
        {"delete", "a\x7f", LineBreaks::Refused, "U+007F", 2},
        {"space_is_no_control", " ", LineBreaks::Refused, "", 0},
        {"after_arabic_counts_characters", "علي\x01", LineBreaks::Refused, "U+0001", 4},
        {"line_feed_refused", "a\nb", LineBreaks::Refused, "U+000A", 2},
        {"carriage_return_refused", "a\rb", LineBreaks::Refused, "U+000D", 2},
        {"line_feed_allowed", "a\nb\r\nc", LineBreaks::Allowed, "", 0},
        {"control_beside_allowed_break", "a\n\x02", LineBreaks::Allowed, "U+0002", 3},
        {"bidi_embeddings_kept", "\u202Aa\u202B\u202C\u202D\u202E", LineBreaks::Refused, "", 0},
        {"bidi_isolates_kept", "\u2066a\u2067b\u2068c\u2069", LineBreaks::Refused, "", 0},
        {"c1_range_is_no_ascii_control", "\u0085", LineBreaks::Refused, "", 0},
    };
}

class ControlRule : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlRule, FindsTheFirstControlCharacter)
{
    const ControlCase &c = GetParam();
    const auto found = paydata::FindControlCharacter(c.text, c.lineBreaks);
    if (!*c.code) {
        EXPECT_FALSE(found.has_value()) << paydata::CodeName(found->code);
        return;
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(paydata::CodeName(found->code), c.code);
    EXPECT_EQ(found->position, c.position);
}

INSTANTIATE_TEST_SUITE_P(Texts, ControlRule, ::testing::ValuesIn(Cases()),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(CodeName, WritesFourHexDigitsAtLeast)
{
    const std::pair<char32_t, const char *> names[] = {
        {0x0, "U+0000"}, {0x1F, "U+001F"}, {0x7F, "U+007F"}, {0x202E, "U+202E"}, {0x1F600, "U+1F600"}};
    for (const auto &[code, name] : names) EXPECT_EQ(paydata::CodeName(code), name);
}

} // namespace
