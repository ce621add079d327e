// The program's one pseudo-random generator: the multiplicative congruential
// generator with multiplier 48271 and modulus 2^31 - 1, in one 31-bit state
// that starts at 4660, so an unseeded run repeats the same sequence.
//
// Nothing here fails. The state is a plain global for the main thread only.
#pragma once

namespace vantrel {

double RandomUnit();                    // [0, 1), two generator steps
float RandomUnitSingle();               // [0, 1), one generator step
double RandomBetween(double a, double b);  // between a and b, either order
int RandomInt(int a, int b);            // a whole number between a and b, both included
// Keeps the low 31 bits; 0 and 2^31 - 1 cannot occur in the generator and
// become 4660.
int SetRandomSeed(int seed);
int GetRandomSeed();

void StartRandomModule();

}  // namespace vantrel
