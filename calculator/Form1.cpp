#include "Form1.h"

#include "numeric.h"
#include "services.h"

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Every command button of the window, once.
constexpr Form1::Click Clicks[] = {
    {&Ui::Form1::Command42, &Form1::Command42_Click},
    {&Ui::Form1::Command24, &Form1::Command24_Click},
    {&Ui::Form1::Command25, &Form1::Command25_Click},
    {&Ui::Form1::Command15, &Form1::Command15_Click},
    {&Ui::Form1::Command34, &Form1::Command34_Click},
    {&Ui::Form1::Command4, &Form1::Command4_Click},
    {&Ui::Form1::Command10, &Form1::Command10_Click},
    {&Ui::Form1::Command12, &Form1::Command12_Click},
    {&Ui::Form1::Command8, &Form1::Command8_Click},
    {&Ui::Form1::Command11, &Form1::Command11_Click},
    {&Ui::Form1::Command13, &Form1::Command13_Click},
    {&Ui::Form1::Command9, &Form1::Command9_Click},
    {&Ui::Form1::Command7, &Form1::Command7_Click},
    {&Ui::Form1::Command14, &Form1::Command14_Click},
    {&Ui::Form1::Command2, &Form1::Command2_Click},
    {&Ui::Form1::Command3, &Form1::Command3_Click},
    {&Ui::Form1::Command35, &Form1::Command35_Click},
    {&Ui::Form1::Command39, &Form1::Command39_Click},
    {&Ui::Form1::Command17, &Form1::Command17_Click},
    {&Ui::Form1::Command18, &Form1::Command18_Click},
    {&Ui::Form1::Command5, &Form1::Command5_Click},
    {&Ui::Form1::Command6, &Form1::Command6_Click},
    {&Ui::Form1::Command22, &Form1::Command22_Click},
    {&Ui::Form1::Command23, &Form1::Command23_Click},
    {&Ui::Form1::Command19, &Form1::Command19_Click},
    {&Ui::Form1::Command1, &Form1::Command1_Click},
    {&Ui::Form1::Command20, &Form1::Command20_Click},
    {&Ui::Form1::Command21, &Form1::Command21_Click},
    {&Ui::Form1::Command16, &Form1::Command16_Click},
};

// One click runs one procedure. A procedure bound to two buttons is left to
// the tests: the undefined-behaviour sanitizer makes comparing procedures
// here no constant expression.
constexpr bool EachButtonOnce(std::span<const Form1::Click> clicks) {
    for (std::size_t i = 0; i < clicks.size(); ++i)
        for (std::size_t j = i + 1; j < clicks.size(); ++j)
            if (clicks[i].button == clicks[j].button)
                return false;
    return true;
}
static_assert(EachButtonOnce(Clicks), "a button is bound twice");

// The two arrows from the result row up to the operand boxes, in twips.
constexpr std::array<vb::LineControl, 8> LineControls{{
    {"Lin8", 480, 1800, 360, 1920},
    {"Lin7", 480, 1800, 600, 1920},
    {"Lin6", 480, 2280, 1320, 2280},
    {"Lin5", 480, 2280, 480, 1800},
    {"Lin4", 3960, 1800, 3840, 1920},
    {"Lin3", 3960, 1800, 4080, 1920},
    {"Lin2", 3960, 2280, 3960, 1800},
    {"Lin1", 3120, 2280, 3960, 2280},
}};

const QString FirstNumberPrompt = u"أدخل رقماً في خانة العدد الأول "_s;
const QString TwoNumbersPrompt = u"أدخل رقماً في خانة العددين "_s;
const QString TwoNumbersPromptWide = u"أدخل رقماً في خانة العددين  "_s;
const QString Undefined = u"غير معرفة"_s;

constexpr int MessageInterval = 4000;

const QString AboutText =
    u"حاسبة Zendaric تحفة عربية للعرب فقط و(((القادم أحلى))) مع تحيات Halvorin"_s;
const QString AboutTitle = u"حاسبة Zendaric ver 0,1"_s;
const QString WebPageCommand = u"RUNDLL32.EXE URL.DLL,FileProtocolHandler https://example.org/"_s;

} // namespace

Form1::Form1() {
    setupUi(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setParent(this);
    SetLines(LineControls);
    BindClicks<Form1, Ui::Form1>(*this, ::Clicks);
    BindTick(Timer1, &Form1::Timer1_Timer);
}

std::span<const Form1::Click> Form1::Clicks() { return ::Clicks; }

void Form1::Form_Load() {
    Txt1->SetLocked(true);
    Txt2->SetLocked(true);
    Txt3->SetLocked(true);
}

void Form1::Timer1_Timer() { Txt4->SetText(u""_s); }

void Form1::Command42_Click() { vb::vbaEnd(); }

void Form1::Command24_Click() { vb::rtcMsgBox(AboutText, 0, AboutTitle); }

void Form1::Command25_Click() { vb::rtcShell(WebPageCommand, 1); }

void Form1::ClearResult() {
    if (vb::vbaStrCmp(u""_s, Txt3->Text()) != 0)
        Txt3->SetText(u""_s);
}

vb::TextBox *Form1::TargetBox() const {
    // All six comparisons are always made.
    const vb::Boolean twoOperands =
        vb::StrEq(u"أس"_s, Lbl1->Caption()) | vb::StrEq(u"×"_s, Lbl1->Caption()) |
        vb::StrEq(u"÷"_s, Lbl1->Caption()) | vb::StrEq(u"-"_s, Lbl1->Caption()) |
        vb::StrEq(u"جذر"_s, Lbl1->Caption()) | vb::StrEq(u"+"_s, Lbl1->Caption());
    return twoOperands ? Txt2 : Txt1;
}

void Form1::EnterDigit(const QString &digit) {
    ClearResult();
    TargetBox()->SetSelText(digit);
}

void Form1::Command4_Click() { EnterDigit(u"1"_s); }
void Form1::Command10_Click() { EnterDigit(u"2"_s); }
void Form1::Command12_Click() { EnterDigit(u"3"_s); }
void Form1::Command8_Click() { EnterDigit(u"4"_s); }
void Form1::Command11_Click() { EnterDigit(u"5"_s); }
void Form1::Command13_Click() { EnterDigit(u"6"_s); }
void Form1::Command9_Click() { EnterDigit(u"7"_s); }
void Form1::Command7_Click() { EnterDigit(u"8"_s); }
void Form1::Command14_Click() { EnterDigit(u"9"_s); }

void Form1::Command2_Click() {
    ClearResult();
    if (vb::StrEq(u"0"_s, Txt1->Text()))
        Txt1->SetText(u""_s);
    if (vb::StrEq(u"0"_s, Txt2->Text()))
        Txt2->SetText(u""_s);
    TargetBox()->SetSelText(u"0"_s);
}

void Form1::Command3_Click() { TargetBox()->SetSelText(u"."_s); }

void Form1::Command35_Click() { TargetBox()->SetText(u"3.141592654"_s); }

void Form1::Command39_Click() {
    Txt1->SetText(u""_s);
    Txt2->SetText(u""_s);
    Txt3->SetText(u""_s);
    Lbl1->SetCaption(u""_s);
}

void Form1::PressOperator(const QString &code, Operands operands, const QString &prompt) {
    if (operands == Operands::One)
        Txt2->SetText(u""_s);
    if (vb::rtcIsNumeric(Txt1->Text()) == vb::True) {
        Lbl1->SetCaption(code);
    } else {
        Txt4->SetText(prompt);
        Timer1.SetInterval(MessageInterval);
    }
}

void Form1::Command17_Click() { PressOperator(u"+"_s, Operands::Two, FirstNumberPrompt); }
void Form1::Command18_Click() { PressOperator(u"-"_s, Operands::Two, FirstNumberPrompt); }
void Form1::Command5_Click() { PressOperator(u"×"_s, Operands::Two, FirstNumberPrompt); }
void Form1::Command6_Click() { PressOperator(u"÷"_s, Operands::Two, FirstNumberPrompt); }
void Form1::Command22_Click() { PressOperator(u"أس"_s, Operands::Two, TwoNumbersPrompt); }
void Form1::Command23_Click() { PressOperator(u"جذر"_s, Operands::Two, TwoNumbersPromptWide); }
void Form1::Command19_Click() { PressOperator(u"x2"_s, Operands::One, FirstNumberPrompt); }
void Form1::Command1_Click() { PressOperator(u"x3"_s, Operands::One, FirstNumberPrompt); }
void Form1::Command20_Click() { PressOperator(u"جذر2"_s, Operands::One, FirstNumberPrompt); }
void Form1::Command21_Click() { PressOperator(u"جذر3"_s, Operands::One, FirstNumberPrompt); }

void Form1::Command16_Click() {
    // Copies taken at the start: the operations compute from `first` and
    // `second`, and `result` keeps the old Txt3 text unless one runs.
    const QString first = Txt1->Text();
    const QString second = Txt2->Text();
    vb::Variant result = Txt3->Text();
    using vb::rtcIsNumeric, vb::StrEq;
    // Every test runs, and reads Lbl1 and the boxes afresh, not the copies;
    // so does the addition for its operands. No box changes in between, and
    // the codes differ, so at most one operation runs. An operation with no
    // real or finite value is answered like the division by "0", and the
    // program goes on.
    try {
        if (StrEq(u"+"_s, Lbl1->Caption()) & rtcIsNumeric(Txt2->Text()) &
            rtcIsNumeric(Txt1->Text())) {
            const double right = vb::vbaR8Str(Txt2->Text());
            const double left = vb::vbaR8Str(Txt1->Text());
            const double sum = left + right;
            if (!std::isfinite(sum))
                vb::vbaFPException();
            result = sum;
        }
        if (StrEq(u"×"_s, Lbl1->Caption()) & rtcIsNumeric(Txt2->Text()) &
            rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarMul(first, second);
        if (StrEq(u"-"_s, Lbl1->Caption()) & rtcIsNumeric(Txt2->Text()) &
            rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarSub(first, second);
        if (StrEq(u"x2"_s, Lbl1->Caption()) & rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarPow(first, 2);
        if (StrEq(u"x3"_s, Lbl1->Caption()) & rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarPow(first, 3);
        if (StrEq(u"أس"_s, Lbl1->Caption()) & rtcIsNumeric(Txt2->Text()) &
            rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarPow(first, second);
        if (StrEq(u"جذر2"_s, Lbl1->Caption()) & rtcIsNumeric(Txt1->Text()))
            result = vb::rtcSqr(vb::vbaR8Var(first));
        if (StrEq(u"جذر3"_s, Lbl1->Caption()) & rtcIsNumeric(Txt1->Text())) {
            const double third = 1.0 / 3.0;
            result = vb::vbaVarPow(first, third);
        }
        if (StrEq(u"جذر"_s, Lbl1->Caption()) & rtcIsNumeric(Txt2->Text()) &
            rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarPow(first, vb::vbaVarDiv(1, second));
        if (StrEq(u"÷"_s, Lbl1->Caption()) & StrEq(u"0"_s, Txt2->Text()))
            Txt4->SetText(Undefined);
        if (StrEq(u"÷"_s, Lbl1->Caption()) & vb::StrNe(u"0"_s, Txt2->Text()) &
            rtcIsNumeric(Txt2->Text()) & rtcIsNumeric(Txt1->Text()))
            result = vb::vbaVarDiv(first, second);
    } catch (const vb::RuntimeError &) {
        Txt4->SetText(Undefined);
    }
    Timer1.SetInterval(MessageInterval);
    Txt3->SetText(vb::vbaStrVarVal(result));
    Txt1->SetText(u""_s);
    Lbl1->SetCaption(u""_s);
    Txt2->SetText(u""_s);
}

void Form1::TransferResult(vb::TextBox *target) {
    target->SetText(Txt3->Text());
    if (vb::vbaStrCmp(u""_s, Txt3->Text()) != 0)
        Txt3->SetText(u""_s);
}

void Form1::Command15_Click() { TransferResult(Txt2); }
void Form1::Command34_Click() { TransferResult(Txt1); }
