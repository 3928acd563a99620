#include "Form1.h"

#include "numeric.h"
#include "services.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

using vb::ClickBinding;

constexpr std::array<ClickBinding<Form1>, 29> Clicks{{
    {"Command42", &Form1::Command42_Click}, {"Command24", &Form1::Command24_Click},
    {"Command25", &Form1::Command25_Click}, {"Command15", &Form1::Command15_Click},
    {"Command34", &Form1::Command34_Click}, {"Command4", &Form1::Command4_Click},
    {"Command10", &Form1::Command10_Click}, {"Command12", &Form1::Command12_Click},
    {"Command8", &Form1::Command8_Click},   {"Command11", &Form1::Command11_Click},
    {"Command13", &Form1::Command13_Click}, {"Command9", &Form1::Command9_Click},
    {"Command7", &Form1::Command7_Click},   {"Command14", &Form1::Command14_Click},
    {"Command2", &Form1::Command2_Click},   {"Command3", &Form1::Command3_Click},
    {"Command35", &Form1::Command35_Click}, {"Command39", &Form1::Command39_Click},
    {"Command17", &Form1::Command17_Click}, {"Command18", &Form1::Command18_Click},
    {"Command5", &Form1::Command5_Click},   {"Command6", &Form1::Command6_Click},
    {"Command22", &Form1::Command22_Click}, {"Command23", &Form1::Command23_Click},
    {"Command19", &Form1::Command19_Click}, {"Command1", &Form1::Command1_Click},
    {"Command20", &Form1::Command20_Click}, {"Command21", &Form1::Command21_Click},
    {"Command16", &Form1::Command16_Click},
}};

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

} // namespace

Form1::Form1() {
    setupUi(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setParent(this);
    SetLines(LineControls);
    BindClicks<Form1>(Clicks);
    BindTick(Timer1, &Form1::Timer1_Timer);
}

void Form1::Form_Load() {
    Txt1->SetLocked(true);
    Txt2->SetLocked(true);
    Txt3->SetLocked(true);
}

void Form1::Timer1_Timer() {}

void Form1::Command42_Click() { vb::vbaEnd(); }

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

// Bound now; their behaviour comes with the rest of the keypad.
void Form1::Command24_Click() {}
void Form1::Command25_Click() {}
void Form1::Command15_Click() {}
void Form1::Command34_Click() {}
void Form1::Command2_Click() {}
void Form1::Command3_Click() {}
void Form1::Command35_Click() {}
void Form1::Command39_Click() {}
void Form1::Command17_Click() {}
void Form1::Command18_Click() {}
void Form1::Command5_Click() {}
void Form1::Command6_Click() {}
void Form1::Command22_Click() {}
void Form1::Command23_Click() {}
void Form1::Command19_Click() {}
void Form1::Command1_Click() {}
void Form1::Command20_Click() {}
void Form1::Command21_Click() {}
void Form1::Command16_Click() {}
