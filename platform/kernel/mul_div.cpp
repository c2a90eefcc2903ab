// MulDiv: a * b / c in 64 bits, rounded to the nearest integer (halves away from zero);
// -1 when c is 0 or the result does not fit in 32 bits.
#include <cstdint>

#include "winbase.h"

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    int64_t product = static_cast<int64_t>(nNumber) * nNumerator;
    bool negative = (product < 0) != (nDenominator < 0);
    uint64_t magnitude = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    uint64_t divisor = nDenominator < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(nDenominator))
                                        : static_cast<uint64_t>(nDenominator);
    uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
    return negative ? static_cast<int>(-static_cast<int64_t>(quotient)) : static_cast<int>(quotient);
}
