// Plain fixed-size array types built from a capacity list:
// ArrType<Real, 3, 5, 3> is Real[3][5][3]; ArrType<int> is int.
#pragma once

namespace detail {
template <class T, int... N> struct Arr;
template <class T> struct Arr<T> { using type = T; };
template <class T, int N, int... M> struct Arr<T, N, M...> {
    using type = typename Arr<T, M...>::type[N];
};
}  // namespace detail

template <class T, int... N>
using ArrType = typename detail::Arr<T, N...>::type;
