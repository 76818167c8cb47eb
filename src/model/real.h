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
// programs that store single precision, makes Real a RoundedReal<float>.
#pragma once

// A quantity stored as S and computed in double: it converts to double for
// every operation and rounds to S on every assignment.
template <class S> class RoundedReal {
public:
    RoundedReal() = default;
    constexpr RoundedReal(double d) : v_(static_cast<S>(d)) {}

    constexpr operator double() const { return v_; }

    constexpr RoundedReal& operator=(double d) { v_ = static_cast<S>(d); return *this; }
    constexpr RoundedReal& operator+=(double d) { v_ = static_cast<S>(double(v_) + d); return *this; }
    constexpr RoundedReal& operator-=(double d) { v_ = static_cast<S>(double(v_) - d); return *this; }
    constexpr RoundedReal& operator*=(double d) { v_ = static_cast<S>(double(v_) * d); return *this; }
    constexpr RoundedReal& operator/=(double d) { v_ = static_cast<S>(double(v_) / d); return *this; }

    constexpr S stored() const { return v_; }

private:
    S v_;
};

static_assert(sizeof(RoundedReal<float>) == sizeof(float));

#ifdef KARVEL1_SINGLE_PRECISION
using RealStored = float;
using Real = RoundedReal<float>;
#else
using RealStored = double;
using Real = double;
#endif

// The stored value, for the few formulas that are evaluated in the storage
// precision rather than in double.
template <class S> constexpr S stored(const RoundedReal<S>& x) { return x.stored(); }
constexpr double stored(double x) { return x; }

static_assert(sizeof(Real) == sizeof(RealStored));
