#include "numberfield.h"

#include <algorithm>
#include <cmath>

namespace {

// value rounded to whole multiples of 1 / scale, the exact half away from zero. The product
// value x scale is rounded to a double; fma gives what that rounding lost, which decides a product
// that came out as an exact half. The quotient is the double nearest to the decimal number, as
// reading the field's text would give it.
double roundToDecimals(double value, double scale) {
    const double product = value * scale;
    const double lost = std::fma(value, scale, -product);
    double whole = std::round(product);
    if (std::fabs(product - std::trunc(product)) == 0.5 && lost != 0)
        whole = lost > 0 ? std::ceil(product) : std::floor(product);
    return whole / scale;
}

} // namespace

double numberFieldValue(double value, const NumberField &field) {
    if (std::isnan(value))
        value = field.minimum;
    value = std::clamp(value, field.minimum, field.maximum);
    return roundToDecimals(value, std::pow(10.0, field.decimals));
}
