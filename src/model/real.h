// Real model quantity: stored in double precision, or in single precision
// where the program is built with KARVEL1_SINGLE_PRECISION.
//
// The arithmetic inside one formula runs in double precision; assigning
// the result to a Real rounds it to the storage precision.  Formulas are
// plain expressions over Reals, ints and doubles without casts.
//
// Double storage is the default: an economic weight is the difference of
// two nearly equal profits, each a sum over days and animals, and
// single-precision storage leaves rounding noise of up to several per cent
// in such a difference.  With double storage, storage and arithmetic are
// the same and Real is double itself (so that the sanitizers check the
// bounds of the model's arrays, which they do not do for arrays of a
// class).  The single-precision build, which reproduces the figures of
// programs that store single precision, makes Real a class that converts
// to double for every operation and rounds on every assignment.
#pragma once

#ifdef KARVEL1_SINGLE_PRECISION

using RealStored = float;

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

    constexpr RealStored stored() const { return v_; }

private:
    RealStored v_;
};

// The stored value, for the few formulas that are evaluated in the storage
// precision rather than in double.
constexpr RealStored stored(const Real& x) { return x.stored(); }

#else

using RealStored = double;
using Real = double;

constexpr RealStored stored(Real x) { return x; }

#endif

static_assert(sizeof(Real) == sizeof(RealStored));
