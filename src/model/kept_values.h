// Values of a pure function kept by the bits of its arguments.
//
// Every evaluation of the economic-weight loop asks for many values whose
// arguments are those of the evaluation before.  A value computed once is
// kept, per thread, with its arguments (a trivially copyable Key with every
// byte set, compared as bytes) and given back for the same arguments: the
// same bits as computing it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "model/large_pages.h"

// A hash of the bytes of k, 8 at a time.
template <class Key> std::uint64_t hashBytes(const Key& k) {
    static_assert(std::is_trivially_copyable_v<Key>);
    const auto* p = reinterpret_cast<const unsigned char*>(&k);
    std::uint64_t h = 0;
    for (std::size_t at = 0; at < sizeof k; at += sizeof h) {
        std::uint64_t w = 0;
        std::memcpy(&w, p + at, sizeof k - at < sizeof w ? sizeof k - at : sizeof w);
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    }
    return h ^ (h >> 29);
}

// The values of the calling thread for one function: 2^Bits places, found
// by the hash of the arguments; a new value takes the place of the one
// there.  The table lives in the thread's large page.
template <class Key, class Value, int Bits> class KeptValues {
public:
    // The value for k: the one kept, or compute() kept.
    template <class Compute> static Value get(const Key& k, Compute compute) {
        thread_local KeptValues* table = nullptr;
        if (!table) table = new (threadPageBytes(sizeof(KeptValues))) KeptValues;
        Place& p = table->places_[hashBytes(k) >> (64 - Bits)];
        if (p.used && std::memcmp(&p.key, &k, sizeof k) == 0) return p.value;
        p.value = compute();
        p.key = k;
        p.used = true;
        return p.value;
    }

private:
    struct Place {
        Key key;
        Value value;
        bool used = false;
    };
    Place places_[std::size_t(1) << Bits];
};
