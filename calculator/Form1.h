// The calculator window and its event procedures.
#pragma once

#include "controls.h"
#include "form.h"
#include "ui_Form1.h"

class Form1 : public vb::Form, private Ui::Form1 {
    Q_OBJECT
public:
    Form1();

    void Form_Load() override;
    void Timer1_Timer();

    void Command42_Click();
    void Command24_Click();
    void Command25_Click();
    void Command15_Click();
    void Command34_Click();

    void Command4_Click();
    void Command10_Click();
    void Command12_Click();
    void Command8_Click();
    void Command11_Click();
    void Command13_Click();
    void Command9_Click();
    void Command7_Click();
    void Command14_Click();

    void Command2_Click();
    void Command3_Click();
    void Command35_Click();
    void Command39_Click();

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
