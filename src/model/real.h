// Real model quantity: stored in double precision, or in single precision
// where the program is built with KARVEL1_SINGLE_PRECISION.
//
// A Real converts to double for every operation, so the arithmetic inside
// one formula runs in double precision; assigning the result to a Real
// rounds it to the storage precision.  Formulas can therefore be written as
// plain expressions over Reals, ints and doubles without casts.
//
// Double storage is the default: an economic weight is the difference of
// two nearly equal profits, each a sum over days and animals, and
// single-precision storage leaves rounding noise of up to several per cent
// in such a difference.  The single-precision build reproduces the figures
// of programs that store single precision.
#pragma once

#ifdef KARVEL1_SINGLE_PRECISION
using RealStored = float;
#else
using RealStored = double;
#endif

class Real {
public:
    Real() = default;
    constexpr Real(double d) : v_(static_cast<RealStored>(d)) {}

    constexpr operator double() const { return v_; }

    constexpr Real& operator=(double d) { v_ = static_cast<RealStored>(d); return *this; }
    constexpr Real& operator+=(double d) { v_ = static_cast<RealStored>(double(v_) + d); return *this; }
    constexpr Real& operator-=(double d) { v_ = static_cast<RealStored>(double(v_) - d); return *this; }
    constexpr Real& operator*=(double d) { v_ = static_cast<RealStored>(double(v_) * d); return *this; }
    constexpr Real& operator/=(double d) { v_ = static_cast<RealStored>(double(v_) / d); return *this; }

    // The stored value, for the few formulas that are evaluated in the
    // storage precision rather than in double.
    constexpr RealStored stored() const { return v_; }

private:
    RealStored v_;
};

static_assert(sizeof(Real) == sizeof(RealStored));
