// A long seeded run of random user actions on the window: picks in every
// list (keyboard, mouse wheel, a pick in the open drop-down), keystrokes and
// pastes in the typed fields, and clicks on the mutual-insurance box. Every
// 1,000 actions the window must show exactly what a fresh computation of its
// inputs gives (or, while an amount is too large, its message with the lines
// not reached left empty), and the family-status rule must hold. The speed
// and the process's memory are measured and printed; the memory must not
// grow with the number of actions.
//
// PAYSLIP_SOAK_ACTIONS sets the number of actions (100,000 by default),
// PAYSLIP_SOAK_SEED the seed of the run.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>

#include "window/tests/form1_test_support.h"
#include "paycalc/fields.h"
#include "slip_checks.h"
#include "window/form1.h"

using paycalc::Field;

namespace {

constexpr int kDefaultActions = 100000;
constexpr std::uint64_t kDefaultSeed = 20160131;
constexpr int kCheckEvery = 1000;
// Pending paints and the desktop's timers (font and glyph caches clean up on
// a timer) are handled this often, as an idle moment of a real session would.
constexpr int kEventsEvery = 100;
// Typed texts stay about this short, so that amounts stay realistic; a long
// text is cut back (or replaced) as soon as it is typed into again.
constexpr qsizetype kShortText = 12;

// Memory: the growth allowed between 10 % of the run and its end, a fixed
// part plus a part for each action. The typed fields start their undo
// history afresh every so often, so nothing of the window grows with the
// number of actions: over 90,000 actions the resident size moves by about
// 0.1 MiB, the allocator and the desktop libraries' caches. The fixed part
// absorbs that; 8 bytes an action on top lets a leak of 20 bytes an action
// fail: 20 x 90,000 bytes = 1.7 MiB against 1 + 0.7 = 1.7 MiB allowed.
constexpr double kFixedAllowanceKiB = 1024;
constexpr double kAllowancePerActionKiB = 8.0 / 1024;

constexpr const auto &kTyped = paycalc::kTypedFields;

int ActionCount()
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("PAYSLIP_SOAK_ACTIONS", &ok);
    return ok && count > 0 ? count : kDefaultActions;
}

std::uint64_t Seed()
{
    bool ok = false;
    const qulonglong seed = qEnvironmentVariable("PAYSLIP_SOAK_SEED").toULongLong(&ok);
    return ok ? seed : kDefaultSeed;
}

// The resident size of this process, in KiB.
long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

bool IsMark(Field field) { return field == Field::Text23; }

// The kinds of action, for the account of the run and for the trail left
// when a check fails.
enum class Kind : std::uint8_t {
    PickKeyboard,
    PickWheel,
    PickDropDown,
    Keystroke,
    RefusedKeystroke,
    Backspace,
    ReplaceByDigit,
    Paste,
    RefusedPaste,
    LongPaste,
    Undo,
    Redo,
    CheckMouse,
    CheckSpace,
};
constexpr int kKinds = 14;

const char *KindName(Kind kind)
{
    switch (kind) {
    case Kind::PickKeyboard: return "pick with the arrow keys";
    case Kind::PickWheel: return "pick with the mouse wheel";
    case Kind::PickDropDown: return "pick in the drop-down";
    case Kind::Keystroke: return "keystroke";
    case Kind::RefusedKeystroke: return "refused keystroke";
    case Kind::Backspace: return "backspace";
    case Kind::ReplaceByDigit: return "select all, type a digit";
    case Kind::Paste: return "paste";
    case Kind::RefusedPaste: return "refused paste";
    case Kind::LongPaste: return "paste of a long number";
    case Kind::Undo: return "undo";
    case Kind::Redo: return "redo";
    case Kind::CheckMouse: return "click on the box";
    case Kind::CheckSpace: return "space on the box";
    }
    return "?";
}

struct Action {
    int number = 0;
    Kind kind = Kind::Keystroke;
    int target = 0; // the list, or the typed field's position in kTyped
    int value = 0;  // the index picked, the wheel's direction, the length pasted
    QChar character;
};

class Soak {
public:
    explicit Soak(Form1 &form, std::uint64_t seed) : form_(form), random_(seed)
    {
        for (std::size_t i = 0; i < kTyped.size(); ++i) typed_[i] = form.text(kTyped[i])->text();
        ticked_ = form.check1()->isChecked();
    }

    void act(int number);

    // What the window shows wrongly; empty when all is well.
    QString check();
    // The last actions, oldest first: kind (list or typed field, value).
    QString trail() const;

    int count(Kind kind) const { return counts_[static_cast<std::size_t>(kind)]; }
    int checksInError() const { return checksInError_; }
    int errorsEntered() const { return errorsEntered_; }
    int errorsLeft() const { return errorsLeft_; }
    // Characters typed, pasted or removed in the typed fields so far: what
    // their undo histories hold.
    qint64 edited() const { return edited_; }

    // Whether the last action made the window enter or leave its error state.
    bool errorStateChanged();

private:
    int uniform(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    QString digits(int count);

    void pick(Action &action);
    void type(Action &action);
    void paste(Action &action);
    void click(Action &action);

    Form1 &form_;
    std::mt19937_64 random_;
    // What each typed field must hold: what the filters let through of all
    // that was typed and pasted into it.
    std::array<QString, kTyped.size()> typed_;
    bool ticked_ = true;
    std::array<Action, 8> trail_{};
    std::size_t next_ = 0;
    std::array<int, kKinds> counts_{};
    int checksInError_ = 0;
    bool inError_ = false;
    int errorsEntered_ = 0;
    int errorsLeft_ = 0;
    qint64 edited_ = 0;
};

bool Soak::errorStateChanged()
{
    const bool inError = !form_.messageLabel()->isHidden();
    if (inError == inError_) return false;
    inError_ = inError;
    ++(inError ? errorsEntered_ : errorsLeft_);
    return true;
}

QString Soak::digits(int count)
{
    QString text(count, QLatin1Char('0'));
    for (QChar &c : text) c = QChar(static_cast<char16_t>(u'0' + uniform(0, 9)));
    return text;
}

void Soak::act(int number)
{
    Action action;
    action.number = number;
    const int roll = uniform(0, 99);
    if (roll < 36) pick(action);
    else if (roll < 76) type(action);
    else if (roll < 88) paste(action);
    else click(action);
    ++counts_[static_cast<std::size_t>(action.kind)];
    trail_[next_ % trail_.size()] = action;
    ++next_;
}

void Soak::pick(Action &action)
{
    action.target = uniform(0, paycalc::kComboCount - 1);
    QComboBox *list = form_.combo(action.target);
    const int way = uniform(0, 9);
    if (way < 5) {
        action.kind = Kind::PickKeyboard;
        action.value = uniform(0, list->count() - 1);
        form1test::PickByKeyboard(list, action.value);
    } else if (way < 7) {
        // One notch of the wheel over the closed list picks the neighbour.
        action.kind = Kind::PickWheel;
        action.value = chance(0.5) ? 120 : -120;
        const QPointF centre = QRectF(list->rect()).center();
        QWheelEvent wheel(centre, list->mapToGlobal(centre), QPoint(), QPoint(0, action.value), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list, &wheel);
    } else {
        // A pick with the mouse in the open drop-down: the list moves to the
        // entry, then reports the pick, as QComboBox does for a clicked row.
        action.kind = Kind::PickDropDown;
        action.value = uniform(0, list->count() - 1);
        list->setCurrentIndex(action.value);
        emit list->activated(action.value);
    }
}

void Soak::type(Action &action)
{
    const auto slot = static_cast<std::size_t>(uniform(0, static_cast<int>(kTyped.size()) - 1));
    action.target = static_cast<int>(slot);
    QLineEdit *box = form_.text(kTyped[slot]);
    QString &text = typed_[slot];

    if (text.size() > kShortText) {
        // Too long: cut it back, or start again with one digit.
        if (chance(0.5)) {
            action.kind = Kind::Backspace;
            QTest::keyClick(box, Qt::Key_Backspace);
            text.chop(1);
            ++edited_;
        } else {
            action.kind = Kind::ReplaceByDigit;
            action.character = QChar(static_cast<char16_t>(u'0' + uniform(0, 9)));
            form1test::SelectAll(box);
            form1test::TypeCharacter(box, action.character);
            edited_ += text.size() + 1;
            text = action.character;
        }
        return;
    }

    const int roll = uniform(0, 99);
    if (roll < 55) {
        action.kind = Kind::Keystroke;
        action.character = QChar(static_cast<char16_t>(u'0' + uniform(0, 9)));
        form1test::TypeCharacter(box, action.character);
        text += action.character;
        ++edited_;
    } else if (roll < 65) {
        action.kind = IsMark(kTyped[slot]) ? Kind::RefusedKeystroke : Kind::Keystroke;
        action.character = QLatin1Char('.');
        form1test::TypeCharacter(box, action.character);
        if (action.kind == Kind::Keystroke) {
            text += action.character;
            ++edited_;
        }
    } else if (roll < 83) {
        action.kind = Kind::Backspace;
        QTest::keyClick(box, Qt::Key_Backspace);
        if (!text.isEmpty()) ++edited_;
        text.chop(1);
    } else if (roll < 88) {
        // Undo or redo the last edit, then End, as the cursor may land
        // inside the text or a removed selection come back.
        const bool redo = chance(0.3);
        action.kind = redo ? Kind::Redo : Kind::Undo;
        QTest::keyClick(box, Qt::Key_Z, redo ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_End);
        // Only what the filter let in can come back.
        const QString back = box->text();
        const QString admitted = IsMark(kTyped[slot]) ? QStringLiteral("0123456789") : QStringLiteral("0123456789.");
        if (std::all_of(back.begin(), back.end(), [&](QChar c) { return admitted.contains(c); })) text = back;
    } else {
        // Letters, signs, a blank and digits of other scripts.
        static const QString refused = QStringLiteral("aEx -+,/:٣۴१５");
        action.kind = Kind::RefusedKeystroke;
        action.character = refused.at(uniform(0, static_cast<int>(refused.size()) - 1));
        form1test::TypeCharacter(box, action.character);
    }
}

void Soak::paste(Action &action)
{
    const auto slot = static_cast<std::size_t>(uniform(0, static_cast<int>(kTyped.size()) - 1));
    action.target = static_cast<int>(slot);
    QLineEdit *box = form_.text(kTyped[slot]);
    QString &text = typed_[slot];
    const bool mark = IsMark(kTyped[slot]);

    QString pasted;
    bool accepted = true;
    bool overAll = chance(0.5); // over the whole text, or at the end of it
    const int roll = uniform(0, 99);
    if (roll < 3) {
        // Long enough to overflow a line, or the reading of the field itself.
        action.kind = Kind::LongPaste;
        pasted = digits(uniform(30, 420));
        overAll = true;
    } else if (roll < 52) {
        action.kind = Kind::Paste;
        pasted = digits(uniform(1, 6));
        if (!mark && chance(0.3)) pasted.insert(uniform(0, static_cast<int>(pasted.size())), QLatin1Char('.'));
    } else {
        static const QStringList refused{
            QStringLiteral("abc"), QStringLiteral("1E5"),  QStringLiteral(" 12"),   QStringLiteral("12 "),
            QStringLiteral("-5"),  QStringLiteral("1,5"),  QStringLiteral("٣٤٥"),   QStringLiteral("１２"),
            QStringLiteral("7\t"), QStringLiteral("9\n1"), QStringLiteral("1E400"), QString(300, QLatin1Char('x')),
        };
        action.kind = Kind::RefusedPaste;
        pasted = refused.at(uniform(0, static_cast<int>(refused.size()) - 1));
        if (mark && chance(0.3)) pasted = QStringLiteral("1.5"); // the point is refused in the mark
        accepted = false;
    }
    action.value = static_cast<int>(pasted.size());

    QGuiApplication::clipboard()->setText(pasted);
    if (overAll) form1test::SelectAll(box);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    if (accepted) {
        edited_ += (overAll ? text.size() : 0) + pasted.size();
        text = overAll ? pasted : text + pasted;
    } else if (overAll) {
        QTest::keyClick(box, Qt::Key_End); // leave no selection behind
    }
}

void Soak::click(Action &action)
{
    QCheckBox *box = form_.check1();
    if (chance(0.5)) {
        action.kind = Kind::CheckMouse;
        QTest::mouseClick(box, Qt::LeftButton);
    } else {
        action.kind = Kind::CheckSpace;
        QTest::keyClick(box, Qt::Key_Space);
    }
    ticked_ = !ticked_;
}

QString Soak::check()
{
    QString problems;
    for (std::size_t i = 0; i < kTyped.size(); ++i) {
        const QString shown = form_.text(kTyped[i])->text();
        if (shown != typed_[i])
            problems += QStringLiteral("%1 holds \"%2\" instead of \"%3\"\n")
                            .arg(hardening::Name(kTyped[i]), shown.left(40), typed_[i].left(40));
    }
    if (form_.check1()->isChecked() != ticked_) problems += QStringLiteral("Check1 is not in the state clicked\n");
    if (form_.combo(paycalc::kFamilyStatusList)->currentIndex() == 0) {
        for (int list : {paycalc::kChildrenList, paycalc::kOverTenList})
            if (form_.combo(list)->currentIndex() != 0)
                problems += QStringLiteral("single, but Combo1(%1) shows %2\n")
                                .arg(list)
                                .arg(form_.combo(list)->currentText());
    }

    const hardening::SlipCheck slip = hardening::CheckSlip(form_);
    problems += slip.problems;
    if (slip.stopped) {
        ++checksInError_;
        // Only a long amount can stop the computation; the message names one.
        bool named = false;
        for (std::size_t i = 0; i < kTyped.size(); ++i)
            named = named || (typed_[i].size() > kShortText &&
                              form_.messageLabel()->text().contains(hardening::Title(kTyped[i])));
        if (!named)
            problems += QStringLiteral("the message names no field holding a long amount: %1\n")
                            .arg(form_.messageLabel()->text());
    }
    return problems;
}

QString Soak::trail() const
{
    QString text;
    const std::size_t kept = std::min(next_, trail_.size());
    for (std::size_t k = next_ - kept; k < next_; ++k) {
        const Action &a = trail_[k % trail_.size()];
        text += QStringLiteral("#%1 %2 (%3, %4, U+%5)\n")
                    .arg(a.number)
                    .arg(QLatin1String(KindName(a.kind)))
                    .arg(a.target)
                    .arg(a.value)
                    .arg(a.character.unicode(), 4, 16, QLatin1Char('0'));
    }
    return text;
}

struct Measure {
    int actions = 0;
    long rssKiB = 0;
    qint64 edited = 0;
};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void randomUserActions();
};

void SoakTest::randomUserActions()
{
    const int actions = ActionCount();
    const std::uint64_t seed = Seed();
    qInfo("soak: %d actions, seed %llu", actions, static_cast<unsigned long long>(seed));

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();
    Soak soak(form, seed);
    QCOMPARE(soak.check(), QString());

    const long startKiB = ResidentKiB();
    QVERIFY(startKiB > 0);
    const int firstPoint = std::min(kCheckEvery, actions);
    const int tenthPoint = std::max(1, actions / 10);
    const int middlePoint = std::max(1, actions / 2);
    Measure first, tenth, middle, end;
    const int runsBefore = form.recalculationCount();

    QElapsedTimer clock;
    clock.start();
    for (int n = 1; n <= actions; ++n) {
        soak.act(n);
        if (n % kEventsEvery == 0 || n == actions) QCoreApplication::processEvents();
        // Checked every 1,000 actions, and each time the message comes or goes.
        if (soak.errorStateChanged() || n % kCheckEvery == 0 || n == actions) {
            const QString problems = soak.check();
            QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("after action %1 (seed %2):\n%3last actions:\n%4")
                                                        .arg(n)
                                                        .arg(seed)
                                                        .arg(problems, soak.trail())));
        }
        if (n == firstPoint) first = {n, ResidentKiB(), soak.edited()};
        if (n == tenthPoint) tenth = {n, ResidentKiB(), soak.edited()};
        if (n == middlePoint) middle = {n, ResidentKiB(), soak.edited()};
        if (n == actions) end = {n, ResidentKiB(), soak.edited()};
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double perSecond = seconds > 0 ? actions / seconds : 0.0;
    const int recalculations = form.recalculationCount() - runsBefore;

    QString figures;
    QTextStream out(&figures);
    out << "actions: " << actions << " (seed " << seed << ")\n"
        << "time: " << QString::number(seconds, 'f', 1) << " s, " << QString::number(perSecond, 'f', 0)
        << " actions per second (checks and paints included), " << recalculations << " recalculations\n"
        << "resident memory before the first action: " << startKiB << " KiB\n";
    int shown = 0; // a point that falls on an earlier one is shown once
    for (const Measure &point : {first, tenth, middle, end}) {
        if (point.actions == shown) continue;
        out << "resident memory after " << point.actions << " actions: " << point.rssKiB << " KiB\n";
        shown = point.actions;
    }
    out << "growth from " << tenth.actions << " to " << end.actions << " actions: " << end.rssKiB - tenth.rssKiB
        << " KiB\n"
        << "characters typed, pasted or removed in the typed fields: " << end.edited << " ("
        << end.edited - tenth.edited << " from " << tenth.actions << " to " << end.actions << " actions)\n"
        << "error state entered " << soak.errorsEntered() << " times, left " << soak.errorsLeft()
        << " times; checks made in it: " << soak.checksInError() << "\n"
        << "actions by kind:";
    for (int k = 0; k < kKinds; ++k)
        out << (k == 0 ? " " : ", ") << KindName(static_cast<Kind>(k)) << " " << soak.count(static_cast<Kind>(k));
    out << "\n";
    out.flush();
    for (const QString &line : figures.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        qInfo("soak: %s", qPrintable(line));

    QFile file(QStringLiteral(PAYSLIP_SOAK_FIGURES_DIR "/soak-figures.txt"));
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text), qPrintable(file.errorString()));
    file.write(figures.toUtf8());
    file.close();

    // Every kind of action was exercised, and the error state entered and left.
    if (actions >= 10000) {
        for (int k = 0; k < kKinds; ++k) QVERIFY2(soak.count(static_cast<Kind>(k)) > 0, KindName(static_cast<Kind>(k)));
        QVERIFY(soak.errorsEntered() > 0);
        QVERIFY(soak.errorsLeft() > 0);
    }

#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed blocks in quarantine, so the resident size
    // follows the churn, not leaks; LeakSanitizer checks leaks at exit.
    qInfo("soak: memory growth not checked under AddressSanitizer");
#else
    if (actions >= 10000) {
        const double allowedKiB = kFixedAllowanceKiB + kAllowancePerActionKiB * (end.actions - tenth.actions);
        QVERIFY2(static_cast<double>(end.rssKiB - tenth.rssKiB) < allowedKiB,
                 qPrintable(QStringLiteral("resident memory grew by %1 KiB from action %2 to %3 (allowed %4 KiB)")
                                .arg(end.rssKiB - tenth.rssKiB)
                                .arg(tenth.actions)
                                .arg(end.actions)
                                .arg(allowedKiB, 0, 'f', 0)));
    }
#endif
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
