#include "gauge_model.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

EGaugeRange RangeError(std::int64_t low, std::int64_t high)
{
    return EGaugeRange("Value must be between " + std::to_string(low) + " and " + std::to_string(high));
}

} // namespace

bool GaugeModel::SetMinValue(std::int32_t value)
{
    if (value == Min)
        return false;
    if (value > Max)
        throw RangeError(-std::numeric_limits<std::int32_t>::max(), std::int64_t{Max} - 1);
    Min = value;
    if (Value < value)
        Value = value;
    return true;
}

bool GaugeModel::SetMaxValue(std::int32_t value)
{
    if (value == Max)
        return false;
    if (value < Min)
        throw RangeError(std::int64_t{Min} + 1, std::numeric_limits<std::int32_t>::max());
    Max = value;
    if (Value > value)
        Value = value;
    return true;
}

bool GaugeModel::SetProgress(std::int32_t value)
{
    const auto before = GetPercentDone();
    if (value < Min)
        value = Min;
    else if (value > Max)
        value = Max;
    if (value == Value)
        return false;
    Value = value;
    return GetPercentDone() != before;
}

std::int32_t GaugeModel::GetPercentDone() const
{
    if (Max == Min)
        return 0;
    const double done = (double(Value) - double(Min)) * 100.0 / (double(Max) - double(Min));
    return static_cast<std::int32_t>(std::floor(done));
}

std::int32_t GaugeModel::FillLength(std::int32_t percent, std::int32_t length)
{
    return static_cast<std::int32_t>(std::floor(percent * 0.01 * length));
}
