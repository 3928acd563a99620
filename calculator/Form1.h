// The calculator window and its event procedures.
#pragma once

#include "controls.h"
#include "form.h"
#include "ui_Form1.h"

#include <span>

class Form1 : public vb::Form, private Ui::Form1 {
    Q_OBJECT
public:
    Form1();

    // Each command button and the procedure its click runs.
    using Click = vb::ClickBinding<Form1, Ui::Form1>;
    static std::span<const Click> Clicks();

    void Form_Load() override;
    // Empties the message line when its time is up.
    void Timer1_Timer();

    // The caption buttons "X", "ver 0.1" and "برامجنا": end, about
    // message and web page.
    void Command42_Click();
    void Command24_Click();
    void Command25_Click();

    // The two keys beside the result box that carry the result up into
    // Txt2 and into Txt1.
    void Command15_Click();
    void Command34_Click();

    // The digit keys 1 to 9.
    void Command4_Click();
    void Command10_Click();
    void Command12_Click();
    void Command8_Click();
    void Command11_Click();
    void Command13_Click();
    void Command9_Click();
    void Command7_Click();
    void Command14_Click();

    // The keys 0, ".", pi and reset.
    void Command2_Click();
    void Command3_Click();
    void Command35_Click();
    void Command39_Click();

    // The operator keys: +, -, ×, ÷, أس and جذر take two operands; x2, x3,
    // جذر2 and جذر3 one.
    void Command17_Click();
    void Command18_Click();
    void Command5_Click();
    void Command6_Click();
    void Command22_Click();
    void Command23_Click();
    void Command19_Click();
    void Command1_Click();
    void Command20_Click();
    void Command21_Click();

    // The "=" key.
    void Command16_Click();

private:
    // The steps the entry keys share.
    void ClearResult();
    vb::TextBox *TargetBox() const;
    void EnterDigit(const QString &digit);
    enum class Operands { One, Two };
    void PressOperator(const QString &code, Operands operands, const QString &prompt);
    void TransferResult(vb::TextBox *target);

    vb::Timer Timer1;
};
