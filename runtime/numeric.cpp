#include "numeric.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

namespace vb {

RuntimeError::RuntimeError(ErrorCode code, const char *what)
    : std::runtime_error(what), code_(code) {}

namespace {

// Any double rounds correctly from its first 767 significant digits; beyond
// them one sticky digit keeps the rounding direction.
constexpr std::size_t kMaxDigits = 800;
// Exponent digits past this only push the value further out of range, so the
// exponent saturates here instead of overflowing.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

[[noreturn]] void raise(ErrorCode code) {
    const char *what = code == ErrorCode::Overflow         ? "Overflow"
                       : code == ErrorCode::DivisionByZero ? "Division by zero"
                                                           : "Invalid procedure call or argument";
    throw RuntimeError(code, what);
}

[[noreturn]] void raiseTypeMismatch() {
    throw RuntimeError(ErrorCode::InvalidProcedureCall, "Type mismatch");
}

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A numeric text reduced to its sign, significant digits (no leading zeros;
// none at all for zero) and the power of ten of its first digit.
struct Decimal {
    bool negative = false;
    std::string digits;
    std::int64_t magnitude = 0;
};

std::optional<Decimal> parseDecimal(const QString &text) {
    const char16_t *p = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *const end = p + text.size();
    Decimal d;
    if (p != end && (*p == u'+' || *p == u'-'))
        d.negative = *p++ == u'-';

    bool anyDigit = false, seenPoint = false, sticky = false;
    std::int64_t magnitude = -1;
    for (; p != end; ++p) {
        if (*p == u'.') {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
            continue;
        }
        if (!isAsciiDigit(*p))
            break;
        anyDigit = true;
        if (d.digits.empty() && *p == u'0') {
            if (seenPoint)
                --magnitude;
            continue;
        }
        if (!seenPoint)
            ++magnitude;
        if (d.digits.size() < kMaxDigits)
            d.digits += char(*p);
        else if (*p != u'0')
            sticky = true;
    }
    if (!anyDigit)
        return std::nullopt;

    std::int64_t exponent = 0;
    if (p != end && (*p == u'E' || *p == u'e')) {
        ++p;
        bool negativeExponent = false;
        if (p != end && (*p == u'+' || *p == u'-'))
            negativeExponent = *p++ == u'-';
        if (p == end || !isAsciiDigit(*p))
            return std::nullopt;
        for (; p != end && isAsciiDigit(*p); ++p) {
            if (exponent < kExponentCap)
                exponent = exponent * 10 + (*p - u'0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (p != end)
        return std::nullopt;

    if (sticky)
        d.digits += '1';
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    d.magnitude = magnitude + exponent;
    return d;
}

// The double nearest to `d`, or nothing when it lies beyond the largest one.
std::optional<double> toDouble(const Decimal &d) {
    const double zero = d.negative ? -0.0 : 0.0;
    if (d.digits.empty() || d.magnitude < -400)
        return zero;
    if (d.magnitude > 308)
        return std::nullopt;

    // Rebuilt as "-d.ddde-12" so the library sees a short, bounded exponent.
    std::string s;
    if (d.negative)
        s += '-';
    s += d.digits.front();
    if (d.digits.size() > 1) {
        s += '.';
        s.append(d.digits, 1);
    }
    s += 'e';
    std::array<char, 24> exponent;
    const auto written =
        std::to_chars(exponent.data(), exponent.data() + exponent.size(), d.magnitude);
    s.append(exponent.data(), written.ptr);

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (d.magnitude > 0)
            return std::nullopt;
        return zero;
    }
    return value;
}

std::optional<double> convert(const QString &text) {
    const std::optional<Decimal> d = parseDecimal(text);
    if (!d)
        return std::nullopt;
    return toDouble(*d);
}

QString formatted(double value, std::optional<int> precision) {
    std::array<char, 64> buffer;
    char *const first = buffer.data(), *const last = first + buffer.size();
    const std::to_chars_result r =
        precision ? std::to_chars(first, last, value, std::chars_format::general, *precision)
                  : std::to_chars(first, last, value, std::chars_format::scientific);
    QString text = QString::fromLatin1(first, r.ptr - first);
    text.replace(u'e', u'E');
    return text;
}

double checked(double result) {
    if (std::isnan(result))
        raise(ErrorCode::InvalidProcedureCall);
    if (std::isinf(result))
        raise(ErrorCode::Overflow);
    return result;
}

} // namespace

Boolean rtcIsNumeric(const QString &text) { return convert(text) ? True : False; }

double vbaR8Str(const QString &text) {
    const std::optional<double> value = convert(text);
    if (!value)
        raiseTypeMismatch();
    return *value;
}

double vbaR8Var(const Variant &value) {
    if (const QString *text = std::get_if<QString>(&value))
        return vbaR8Str(*text);
    if (const int *whole = std::get_if<int>(&value))
        return *whole;
    return std::get<double>(value);
}

QString NumberToText(double value) {
    if (!std::isfinite(value))
        raise(ErrorCode::Overflow);
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = formatted(value, 15);
    // Rounding to 15 digits can carry a value near the largest double past
    // it; the shortest exact form always reads back.
    if (!convert(text))
        text = formatted(value, std::nullopt);
    return text;
}

QString vbaStrVarVal(const Variant &value) {
    if (const QString *text = std::get_if<QString>(&value))
        return *text;
    return NumberToText(vbaR8Var(value));
}

double vbaVarMul(const Variant &left, const Variant &right) {
    return checked(vbaR8Var(left) * vbaR8Var(right));
}

double vbaVarSub(const Variant &left, const Variant &right) {
    return checked(vbaR8Var(left) - vbaR8Var(right));
}

double vbaVarDiv(const Variant &left, const Variant &right) {
    const double dividend = vbaR8Var(left), divisor = vbaR8Var(right);
    if (divisor == 0.0)
        raise(ErrorCode::DivisionByZero);
    return checked(dividend / divisor);
}

double vbaVarPow(const Variant &left, const Variant &right) {
    const double base = vbaR8Var(left), exponent = vbaR8Var(right);
    if (base < 0.0 && std::trunc(exponent) != exponent)
        raise(ErrorCode::InvalidProcedureCall);
    // Zero to a negative power is an infinite quotient 1 / 0^n, so it is
    // reported as the division by zero it amounts to.
    if (base == 0.0 && exponent < 0.0)
        raise(ErrorCode::DivisionByZero);
    return checked(std::pow(base, exponent));
}

double rtcSqr(double value) {
    if (value < 0.0)
        raise(ErrorCode::InvalidProcedureCall);
    return checked(std::sqrt(value));
}

void vbaFPException() { raise(ErrorCode::Overflow); }

int vbaStrCmp(const QString &literal, const QString &text) {
    const int order = QString::compare(literal, text, Qt::CaseSensitive);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

Boolean StrEq(const QString &literal, const QString &text) {
    return vbaStrCmp(literal, text) == 0 ? True : False;
}

} // namespace vb
