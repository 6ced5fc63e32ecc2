#pragma once
// Polynomials over GF(2) of any length, for the CRC solver: the coefficient of x^i is bit i % 64
// of word i / 64, the top word is never zero, and the zero polynomial is empty.

#include <cstdint>
#include <vector>

using Gf2Poly = std::vector<std::uint64_t>;

/// The degree; -1 for the zero polynomial.
int Gf2Degree(const Gf2Poly& a);
/// Drops zero top words.
void Gf2Trim(Gf2Poly& a);
/// a += b.
void Gf2Add(Gf2Poly& a, const Gf2Poly& b);
/// a = a mod b (b not zero); the quotient goes to *quotient when given.
void Gf2Reduce(Gf2Poly& a, const Gf2Poly& b, Gf2Poly* quotient = nullptr);
/// a² mod f.
Gf2Poly Gf2SquareMod(const Gf2Poly& a, const Gf2Poly& f);
/// a / x^k for the largest k that divides it.
void Gf2DropFactorsX(Gf2Poly& a);
/// The greatest common divisor: many steps at once from the leading words, applied to the whole
/// polynomials with carry-less multiplication where the processor has it.
Gf2Poly Gf2Gcd(Gf2Poly a, Gf2Poly b);
/// The same by Euclid's algorithm, one shift-and-add at a time: the reference.
Gf2Poly Gf2GcdBySteps(Gf2Poly a, Gf2Poly b);
