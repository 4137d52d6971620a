// The mathematical services with their edge cases, substitute results and error reports.
#pragma once

namespace fexpr::numeric {

// The double nearest to pi: the value of Pi, and the pi of the degree conversions.
constexpr double pi = 3.141592653589793;

enum math_error_kind : int {
    math_domain = 1,
    math_singularity = 2,
    math_overflow = 3,
    math_underflow = 4,
    math_total_loss = 5,
    math_partial_loss = 6,
};

// Writes "\r\n<name>: <KIND> error\r\n" (CR LF on every system) straight to standard error (after
// flushing standard output), except for underflow (result becomes 0) and total loss (silent).
// Returns the value the service returns.
double report_math_error(math_error_kind kind, const char* name, double substitute) noexcept;

double math_sin(double x) noexcept;
double math_cos(double x) noexcept;
double math_tan(double x) noexcept;
double math_sqrt(double x) noexcept;
double math_asin(double x) noexcept;
double math_acos(double x) noexcept;
double math_atan(double x) noexcept;
double math_log(double x) noexcept;
double math_log10(double x) noexcept;
double math_exp(double x) noexcept;
double math_ceil(double x) noexcept;
double math_floor(double x) noexcept;
double math_fabs(double x) noexcept;
// The floating remainder of a by b (operator '%').
double math_fmod(double a, double b) noexcept;
// x raised to y (operator '^').
double math_pow(double x, double y) noexcept;

}  // namespace fexpr::numeric
