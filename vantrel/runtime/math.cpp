#include <vantrel/runtime/math.h>

#include <climits>
#include <cmath>

namespace vantrel {
namespace {
// One constant each way, so results match to the last bit wherever the
// same angle is converted.
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
}  // namespace

double SinDegrees(double degrees) { return std::sin(degrees * kRadiansPerDegree); }
double CosDegrees(double degrees) { return std::cos(degrees * kRadiansPerDegree); }
double ATan2Degrees(double y, double x) { return std::atan2(y, x) * kDegreesPerRadian; }
double NaturalExp(double x) { return std::exp(x); }
double FloatMod(double a, double b) { return std::fmod(a, b); }
int MinInt(int a, int b) { return a < b ? a : b; }
double MinFloat(double a, double b) { return a < b ? a : b; }
double MaxFloat(double a, double b) { return a > b ? a : b; }

int TruncToInt(double x) {
    if (!(x > -2147483649.0 && x < 2147483648.0)) return INT_MIN;
    return static_cast<int>(x);
}

}  // namespace vantrel
