// Explanations: every line explains itself from the very amounts of the run
// that wrote it, and its arithmetic gives the amount shown.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "cli/cli.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "paydata/amount.h"

using paycalc::Field;

namespace {

// Evaluates a formula as written in an explanation: numbers (a leading '-'
// for a negative one), + − × ÷, a postfix % for hundredths, parentheses;
// × and ÷ bind tighter than + and −, and each level goes left to right.
class Formula {
public:
    explicit Formula(std::string text) : s_(std::move(text)) {}
    double Evaluate()
    {
        double v = Sum();
        Blanks();
        if (pos_ != s_.size()) throw std::runtime_error("cannot read '" + s_.substr(pos_) + "' in " + s_);
        return v;
    }

private:
    void Blanks()
    {
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
    }
    bool Take(std::string_view op)
    {
        Blanks();
        if (s_.compare(pos_, op.size(), op) != 0) return false;
        pos_ += op.size();
        return true;
    }
    double Sum()
    {
        double v = Product();
        for (;;) {
            if (Take("+")) v = v + Product();
            else if (Take("−")) v = v - Product();
            else return v;
        }
    }
    double Product()
    {
        double v = Factor();
        for (;;) {
            if (Take("×")) v = v * Factor();
            else if (Take("÷")) v = v / Factor();
            else return v;
        }
    }
    double Factor()
    {
        double v;
        if (Take("(")) {
            v = Sum();
            if (!Take(")")) throw std::runtime_error("unclosed parenthesis in " + s_);
        } else {
            Blanks();
            std::size_t start = pos_;
            if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
            while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.')) ++pos_;
            if (pos_ == start) throw std::runtime_error("no number at '" + s_.substr(pos_) + "' in " + s_);
            v = paydata::ReadAmount(s_.substr(start, pos_ - start));
        }
        if (Take("%")) v = v / 100;
        return v;
    }
    std::string s_;
    std::size_t pos_ = 0;
};

void CheckExplanations(const paycalc::MemoryForm &form, const paycalc::Trace &trace)
{
    for (Field f : paycalc::kComputedFields) {
        SCOPED_TRACE(std::string(paycalc::FieldName(f)));
        const paycalc::Explanation *e = trace.Find(f);
        ASSERT_NE(e, nullptr);
        EXPECT_FALSE(e->rule.empty());
        EXPECT_EQ(e->result, form.Text(f));
        for (const paycalc::Quoted &q : e->quoted) {
            ASSERT_TRUE(q.field.has_value());
            EXPECT_EQ(paydata::ReadAmount(q.amount), paydata::ReadAmount(form.Text(*q.field)))
                << q.amount << " quoted for " << paycalc::FieldName(*q.field);
            EXPECT_TRUE(e->formula.find(q.amount) != std::string::npos || e->rule.find(q.amount) != std::string::npos)
                << q.amount << " is not in '" << e->formula << "' nor in the rule";
        }
        if (!e->formula.empty()) {
            double value = Formula(e->formula).Evaluate();
            EXPECT_EQ(paydata::ShowAmount(value), e->result) << e->formula;
        }
    }
}

TEST(Explanations, StartUpSlip)
{
    paycalc::MemoryForm form;
    paycalc::Trace trace;
    paycalc::RecalculateAll(form, &trace);
    CheckExplanations(form, trace);
    EXPECT_EQ(trace.Find(Field::Text13)->formula, "57146.80 × 9 %");
    EXPECT_EQ(trace.Find(Field::Text15)->formula, "(52000 − 30000) × 3 ÷ 10 + 2500");
    EXPECT_EQ(trace.Find(Field::Text19)->formula, "42332.12 ÷ 30 × 0");
    EXPECT_EQ(paycalc::ExplanationText(*trace.Find(Field::Text1))
                  .substr(paycalc::ExplanationText(*trace.Find(Field::Text1)).find('\n') + 1),
              "498 × 45 = 22410.00");
}

TEST(Explanations, GeneratedSlipsQuoteTheirOwnAmounts)
{
    std::mt19937 random(5);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int i = 0; i < 3000; ++i) {
        paycalc::Situation in;
        in.category = pick(1, 17);
        in.echelon = pick(0, 12);
        in.post = pick(0, 10);
        in.status = pick(0, 1);
        in.children = in.married() ? pick(0, 12) : 0;
        in.overTen = in.married() ? pick(0, 12) : 0;
        in.spouse = pick(0, 1);
        in.mutual = pick(0, 1) == 1;
        in.zone = std::to_string(pick(0, 9000)) + "." + std::to_string(pick(10, 99));
        in.housing = std::to_string(pick(0, 30000));
        in.absence = pick(0, 1) ? std::to_string(pick(0, 40)) : "-2.5";
        in.mark = std::to_string(pick(0, 60));
        paycalc::MemoryForm form;
        paycalc::FillForm(form, in);
        paycalc::Trace trace;
        paycalc::RecalculateAll(form, &trace);
        SCOPED_TRACE(i);
        CheckExplanations(form, trace);
        if (testing::Test::HasFailure()) return;
    }
}

TEST(Explanations, ARunWithoutATraceWritesTheSameSlip)
{
    paycalc::MemoryForm a, b;
    a.SetText(Field::Text10, "1234.56");
    b.SetText(Field::Text10, "1234.56");
    paycalc::Trace trace;
    paycalc::RecalculateAll(a, &trace);
    paycalc::RecalculateAll(b);
    for (Field f : paycalc::kComputedFields) EXPECT_EQ(a.Text(f), b.Text(f));
}

TEST(Explanations, CommandLineShowsThemUnderEachLine)
{
    std::ostringstream out, err;
    ASSERT_EQ(cli::Run({"--explain"}, out, err), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("57146.80 × 9 % = 5143.21"), std::string::npos) << text;
    EXPECT_LT(text.find("الضمان الإجتماعي"), text.find("57146.80 × 9 % = 5143.21"));
    EXPECT_LT(text.find("57146.80 × 9 % = 5143.21"), text.find("Mensuel"));
}

} // namespace
