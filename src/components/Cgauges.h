#pragma once

#include "components/gauge_model.h"

#include <QColor>
#include <QImage>
#include <QWidget>

// Shows how far a value has come between a minimum and a maximum: as text, a
// bar, a pie or a needle, with the percentage written over it so that it
// reads on the filled and on the empty part alike.
class TCGauge final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCGauge)

public:
    explicit TCGauge(QWidget* parent = nullptr);

    std::int32_t MinValue() const { return Model.MinValue(); }
    std::int32_t MaxValue() const { return Model.MaxValue(); }
    std::int32_t Progress() const { return Model.Progress(); }
    TCGaugeKind Kind() const { return GaugeKind; }
    bool ShowText() const { return TextShown; }
    TFormBorderStyle BorderStyle() const { return Border; }
    QColor ForeColor() const { return Fore; }
    QColor BackColor() const { return Back; }

    // Throw EGaugeRange when the value lies outside what the range allows.
    void SetMinValue(std::int32_t value);
    void SetMaxValue(std::int32_t value);
    void SetProgress(std::int32_t value);
    void AddProgress(std::int32_t delta);
    void SeTCGaugeKind(TCGaugeKind kind);
    void SetShowText(bool value);
    void SetBorderStyle(TFormBorderStyle value);
    void SetForeColor(QColor color);
    void SetBackColor(QColor color);
    std::int32_t GetPercentDone() const { return Model.GetPercentDone(); }

    // The picture Paint puts on the screen, built off screen.
    QImage Render() const;

    // How often the gauge asked to be painted at once.
    int RefreshCount() const { return Refreshes; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Refresh();
    // Stores a changed property and repaints; an unchanged one does nothing.
    template <typename Value>
    void Change(Value& field, Value value);
    void PaintAsNothing(QImage& image, QRect rect) const;
    void PaintAsBar(QImage& image, QRect rect) const;
    // Fills the paint rectangle and sets the outline and the empty colour for
    // a pie or a needle; the extent the dial is measured in.
    QSize PrepareDial(QPainter& painter, QRect rect) const;
    void PaintAsPie(QImage& image, QRect rect) const;
    void PaintAsNeedle(QImage& image, QRect rect) const;
    void PaintAsText(QImage& image, QRect rect) const;

    GaugeModel Model;
    TCGaugeKind GaugeKind = TCGaugeKind::gkHorizontalBar;
    bool TextShown = true;
    TFormBorderStyle Border = TFormBorderStyle::bsSingle;
    QColor Fore = Qt::black;
    QColor Back = Qt::white;
    int Refreshes = 0;
};
