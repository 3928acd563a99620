// Numbers the way the forms runtime sees them: the numeric test, text to
// double, double to text, and arithmetic that raises the runtime's error.
// Nothing here depends on the system locale: the decimal point is always ".".
#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <variant>

namespace vb {

// The runtime's truth values: True has all bits set, so results can be
// joined bitwise with "&" and "|" and every part is always evaluated.
using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

// Error numbers of the runtime's arithmetic errors.
enum class ErrorCode : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    DivisionByZero = 11,
    FileNotFound = 53,
};

// The one error type the runtime raises.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorCode code, const char *what);
    ErrorCode code() const noexcept { return code_; }

private:
    ErrorCode code_;
};

// A value as the arithmetic routines take it: a box's text, a whole number
// or a double.
using Variant = std::variant<QString, int, double>;

// True when `text`, with nothing around it, is an optional sign, digits with
// at most one ".", at least one digit, and an optional exponent, and its
// value lies within the range of a double.
Boolean rtcIsNumeric(const QString &text);

// The double of a text that passed rtcIsNumeric, correctly rounded; a value
// too small for a double gives zero. Raises InvalidProcedureCall (type
// mismatch) for any other text.
double vbaR8Str(const QString &text);
double vbaR8Var(const Variant &value);

// The runtime's standard number-to-text form: at most 15 significant digits,
// no trailing zeros, exponent form where %.15G chooses it ("1E+15").
QString NumberToText(double value);

// A text comes back unchanged, a number in the standard form.
QString vbaStrVarVal(const Variant &value);

// Arithmetic on doubles; each raises the runtime's error when the result is
// not a finite double.
double vbaVarMul(const Variant &left, const Variant &right);
double vbaVarSub(const Variant &left, const Variant &right);
double vbaVarDiv(const Variant &left, const Variant &right);
double vbaVarPow(const Variant &left, const Variant &right);
double rtcSqr(double value);

// Raises the runtime's floating-point error (an overflow).
[[noreturn]] void vbaFPException();

// 0 when the two texts are equal code unit by code unit, case-sensitive,
// with no trimming; non-zero otherwise.
int vbaStrCmp(const QString &literal, const QString &text);

// vbaStrCmp as a truth value, for conditions joined bitwise.
Boolean StrEq(const QString &literal, const QString &text);
inline Boolean StrNe(const QString &literal, const QString &text) {
    return StrEq(literal, text) ? False : True;
}

} // namespace vb
