// Single-precision model quantity with double-precision arithmetic.
//
// Every real quantity of the model is stored as a float.  A Real converts
// to double for every operation, so the arithmetic inside one formula runs
// in double precision; assigning the result to a Real rounds it to float.
// Formulas can therefore be written as plain expressions over Reals, ints
// and doubles without casts.
#pragma once

class Real {
public:
    Real() = default;
    constexpr Real(double d) : v_(static_cast<float>(d)) {}

    constexpr operator double() const { return v_; }

    constexpr Real& operator=(double d) { v_ = static_cast<float>(d); return *this; }
    constexpr Real& operator+=(double d) { v_ = static_cast<float>(double(v_) + d); return *this; }
    constexpr Real& operator-=(double d) { v_ = static_cast<float>(double(v_) - d); return *this; }
    constexpr Real& operator*=(double d) { v_ = static_cast<float>(double(v_) * d); return *this; }
    constexpr Real& operator/=(double d) { v_ = static_cast<float>(double(v_) / d); return *this; }

    // The stored single-precision value, for the few formulas that are
    // deliberately evaluated in single precision.
    constexpr float f() const { return v_; }

private:
    float v_;
};

static_assert(sizeof(Real) == sizeof(float));
