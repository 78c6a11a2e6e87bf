#pragma once

#include <cstdint>
#include <stdexcept>

enum class TCGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// A value set outside the range the gauge allows.
class EGaugeRange : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The gauge's range, value and percentage, apart from its painting.
class GaugeModel {
public:
    std::int32_t MinValue() const { return Min; }
    std::int32_t MaxValue() const { return Max; }
    std::int32_t Progress() const { return Value; }

    // Each returns whether the gauge must be painted again.
    bool SetMinValue(std::int32_t value);
    bool SetMaxValue(std::int32_t value);
    bool SetProgress(std::int32_t value);

    std::int32_t GetPercentDone() const;

    // floor(percent / 100 * length)
    static std::int32_t FillLength(std::int32_t percent, std::int32_t length);

private:
    std::int32_t Min = 0;
    std::int32_t Max = 100;
    std::int32_t Value = 0;
};
