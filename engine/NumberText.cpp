#include "engine/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "engine/Faults.h"

namespace corvanta {

std::string InvalidFloatText(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

std::string InvalidIntegerText(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string ListIndexText(long index) {
    return "List index out of bounds (" + IntegerText(index) + ")";
}

namespace {

// The magnitude of a finite non-zero value as decimal digits d1 d2 d3 ...
// with d1 standing for 10^exponent. Fifty digits are far more than the 64-bit
// mantissa of a long double needs to decide any rounding below, including
// exact halves.
struct Decimal {
    std::string digits;  // no leading zero; empty for zero
    int exponent = 0;
};

Decimal ExactDigits(long double value) {
    Decimal d;
    if (value == 0) return d;
    char buffer[128];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                std::chars_format::scientific, 49);
    std::string_view text(buffer, result.ptr - buffer);  // d.ddd...e+XX
    std::size_t e = text.find('e');
    d.digits.reserve(50);
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits.push_back(text[i]);
    std::string_view exp = text.substr(e + 1);
    int sign = 1;
    if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
        if (exp[0] == '-') sign = -1;
        exp.remove_prefix(1);
    }
    int magnitude = 0;
    std::from_chars(exp.data(), exp.data() + exp.size(), magnitude);
    d.exponent = sign * magnitude;
    return d;
}

// Keeps the first `count` digits, rounding half away from zero; `count` may
// be zero or negative (rounding at a position above the first digit). The
// result has exactly max(count, 1) digits, or is empty when it rounds to 0.
Decimal RoundDigits(const Decimal& in, int count) {
    Decimal out;
    if (in.digits.empty() || count < 0) return out;
    if (count == 0) {
        if (in.digits[0] >= '5') {
            out.digits = "1";
            out.exponent = in.exponent + 1;
        }
        return out;
    }
    out.exponent = in.exponent;
    out.digits = in.digits.substr(0, count);
    while (static_cast<int>(out.digits.size()) < count)
        out.digits.push_back('0');
    if (count < static_cast<int>(in.digits.size()) && in.digits[count] >= '5') {
        int i = count - 1;
        while (i >= 0 && out.digits[i] == '9')
            out.digits[i--] = '0';
        if (i >= 0) {
            ++out.digits[i];
        } else {
            out.digits.insert(out.digits.begin(), '1');
            out.digits.pop_back();
            ++out.exponent;
        }
    }
    return out;
}

void TrimTrailingZeros(std::string& digits, std::size_t keep = 0) {
    while (digits.size() > keep && digits.back() == '0')
        digits.pop_back();
}

std::string NonFiniteText(long double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FormatGeneral(long double value, int significantDigits) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (significantDigits < 1) significantDigits = 1;
    if (significantDigits > 18) significantDigits = 18;
    Decimal d = RoundDigits(ExactDigits(value), significantDigits);
    if (d.digits.empty()) return "0";
    TrimTrailingZeros(d.digits);
    std::string text = value < 0 ? "-" : "";
    const int x = d.exponent;
    if (x < -4 || x >= significantDigits) {
        text += d.digits[0];
        if (d.digits.size() > 1) {
            text += '.';
            text.append(d.digits, 1);
        }
        text += 'E';
        text += IntegerText(x);
    } else if (x >= 0) {
        std::string digits = d.digits;
        while (static_cast<int>(digits.size()) < x + 1)
            digits.push_back('0');
        text.append(digits, 0, x + 1);
        if (static_cast<int>(digits.size()) > x + 1) {
            text += '.';
            text.append(digits, x + 1);
        }
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-x - 1), '0');
        text += d.digits;
    }
    return text;
}

std::string FormatGeneral(long double value) {
    return FormatGeneral(value, 15);
}

long double RoundToGeneral(long double value) {
    long double rounded = value;
    TryParseFloat(FormatGeneral(value), rounded);
    return rounded;
}

namespace {

struct Pattern {
    int intPlaces = 0;    // placeholders before the point
    int intZeros = 0;     // least number of integer digits
    int maxDecimals = 0;  // placeholders after the point
    int minDecimals = 0;  // up to and including the last '0' after the point
    bool exponent = false;
    char exponentLetter = 'E';
    bool exponentAlwaysSigned = false;
    int exponentDigits = 0;
};

Pattern ReadPattern(std::string_view pattern) {
    Pattern p;
    bool afterPoint = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if ((c == 'E' || c == 'e') && i + 1 < pattern.size() &&
            (pattern[i + 1] == '-' || pattern[i + 1] == '+')) {
            p.exponent = true;
            p.exponentLetter = c;
            p.exponentAlwaysSigned = pattern[i + 1] == '+';
            for (std::size_t j = i + 2; j < pattern.size() && pattern[j] == '0'; ++j)
                ++p.exponentDigits;
            break;
        }
        if (c == '.') {
            afterPoint = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.maxDecimals;
                if (c == '0') p.minDecimals = p.maxDecimals;
            } else {
                ++p.intPlaces;
                if (c == '0') ++p.intZeros;
            }
        }
    }
    return p;
}

std::string FormatFixed(const Pattern& p, long double value) {
    Decimal exact = ExactDigits(value);
    Decimal d = RoundDigits(exact, exact.exponent + p.maxDecimals + 1);
    std::string intDigits, fracDigits;
    if (!d.digits.empty()) {
        // Lay the digits out on positions exponent … -maxDecimals.
        for (int pos = std::max(d.exponent, 0); pos >= -p.maxDecimals; --pos) {
            int index = d.exponent - pos;
            char c =
                index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
            (pos >= 0 ? intDigits : fracDigits).push_back(c);
        }
        std::size_t firstNonZero = intDigits.find_first_not_of('0');
        intDigits = firstNonZero == std::string::npos ? "" : intDigits.substr(firstNonZero);
    } else {
        fracDigits.assign(p.maxDecimals, '0');
    }
    while (static_cast<int>(intDigits.size()) < p.intZeros)
        intDigits.insert(intDigits.begin(), '0');
    TrimTrailingZeros(fracDigits, p.minDecimals);
    std::string text = value < 0 && !d.digits.empty() ? "-" : "";
    text += intDigits;
    if (!fracDigits.empty()) text += "." + fracDigits;
    return text;
}

std::string FormatScientific(const Pattern& p, long double value) {
    const int intDigits = std::max(p.intPlaces, 1);
    Decimal d = RoundDigits(ExactDigits(value), intDigits + p.maxDecimals);
    int exponent = 0;
    std::string digits;
    if (d.digits.empty()) {
        digits.assign(intDigits + p.maxDecimals, '0');
    } else {
        digits = d.digits;
        exponent = d.exponent - (intDigits - 1);
    }
    std::string text = value < 0 && !d.digits.empty() ? "-" : "";
    text.append(digits, 0, intDigits);
    std::string frac = digits.substr(intDigits);
    TrimTrailingZeros(frac, p.minDecimals);
    if (!frac.empty()) text += "." + frac;
    text += p.exponentLetter;
    if (exponent < 0) {
        text += '-';
    } else if (p.exponentAlwaysSigned) {
        text += '+';
    }
    std::string expDigits = IntegerText(std::abs(exponent));
    while (static_cast<int>(expDigits.size()) < p.exponentDigits)
        expDigits.insert(expDigits.begin(), '0');
    return text + expDigits;
}

}  // namespace

std::string FormatPattern(std::string_view pattern, long double value) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (pattern.empty()) return FormatGeneral(value);
    Pattern p = ReadPattern(pattern);
    return p.exponent ? FormatScientific(p, value) : FormatFixed(p, value);
}

bool TryParseFloat(std::string_view text, long double& value) {
    std::size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    while (n > i && text[n - 1] == ' ')
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    int digits = 0, points = 0;
    long firstSignificant = 0;  // rough decimal magnitude, for out-of-range results
    bool seenNonZero = false;
    for (; i < n; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (c != '0') seenNonZero = true;
            if (!seenNonZero && points == 1) --firstSignificant;
            if (seenNonZero && points == 0) ++firstSignificant;
        } else if (c == '.') {
            if (++points > 1) return false;
        } else {
            break;
        }
    }
    if (digits == 0 && points == 0) return false;
    const std::size_t mantissaEnd = i;
    long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
        int expDigits = 0;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i, ++expDigits)
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
        if (expDigits == 0) return false;
        if (expNegative) exponent = -exponent;
    }
    if (i != n) return false;
    if (!seenNonZero) {
        value = 0;
        return true;
    }
    std::string normal(text.substr(start, mantissaEnd - start));
    if (normal.front() == '.') normal.insert(normal.begin(), '0');
    if (exponent != 0) normal += "e" + IntegerText(exponent);
    long double parsed = 0;
    auto result = std::from_chars(normal.data(), normal.data() + normal.size(), parsed,
                                  std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (firstSignificant + exponent > 0) return false;  // beyond the largest long double
        parsed = 0;                                         // below the smallest: underflow to 0
    } else if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

long double ParseFloat(std::string_view text) {
    long double value = 0;
    if (!TryParseFloat(text, value)) throw CalcError(FaultKind::Conversion, InvalidFloatText(text));
    return value;
}

bool TryParseInteger(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) return false;
    }
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

std::int32_t ParseInteger(std::string_view text) {
    std::int32_t value = 0;
    if (!TryParseInteger(text, value))
        throw CalcError(FaultKind::Conversion, InvalidIntegerText(text));
    return value;
}

std::string IntegerText(long long value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace corvanta
