// The runtime's math helpers, all in double precision with angles in degrees.
// Pure functions; any thread.
#pragma once

namespace vantrel {

double SinDegrees(double degrees);
double CosDegrees(double degrees);
double ATan2Degrees(double y, double x);   // -180..180
double NaturalExp(double x);
double FloatMod(double a, double b);       // remainder with the sign of a
int MinInt(int a, int b);
double MinFloat(double a, double b);
double MaxFloat(double a, double b);
// Truncates toward zero. NaN and values outside the int range give INT_MIN,
// as the processor's own conversion does, instead of undefined behaviour.
int TruncToInt(double x);

}  // namespace vantrel
