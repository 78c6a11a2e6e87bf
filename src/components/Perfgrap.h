#pragma once

#include "components/perf_history.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

enum class TGraphKind { pgBar, pgLine };

// A strip chart that scrolls left one step at a time, drawing stacked bars
// or lines of up to 16 series over a grid that scrolls with them. Its picture
// lives in an image kept between paints, a ring of columns whose left edge
// moves on by a step, so that a step costs what its band costs whatever the
// width; a history of the last steps redraws it whole when the scale, a
// colour or the size changes.
class TPerformanceGraph final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPerformanceGraph)

public:
    explicit TPerformanceGraph(QWidget* parent = nullptr);

    // Adds a point to the current step; std::out_of_range past 16.
    void DataPoint(QColor color, std::int32_t value);
    // Ends the current step: scrolls, rescales or draws it, repaints.
    void Update();

    std::int32_t GetBandCount() const;
    TGraphKind Kind() const { return GraphKind; }
    QColor ForeColor() const { return Fore; }
    QColor BackColor() const { return Back; }
    std::int32_t GridSize() const { return Grid; }
    std::int32_t StepSize() const { return Step; }
    std::int32_t Scale() const { return CurrentScale; }
    std::int32_t Gradient() const { return ScaleGradient; }
    bool Gridlines() const { return GridShown; }
    std::int32_t PenWidth() const { return Pen; }
    const PerfHistory& History() const { return Ring; }
    // The picture as it is shown, oldest step at the left.
    QImage Image() const;

    void SetGraphKind(TGraphKind kind);
    void SetForeColor(QColor color);
    void SetBackColor(QColor color);
    void SetGridlines(bool value);
    void SetGradient(std::int32_t value);
    void SetGridSize(std::int32_t value);
    void SetStepSize(std::int32_t value);
    void SetPenWidth(std::int32_t value);
    void SetScale(std::int32_t value);

    std::function<void(TPerformanceGraph&)> OnScaleChange;

    // How often the picture was redrawn whole from the history.
    int ReplayCount() const { return Replays; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Stores a changed property and redraws the picture from the history.
    template <typename Value>
    void Change(Value& field, Value value);
    void Initialize(std::int32_t gridPhase);
    void ScrollGraph(QPainter& painter);
    void Replay();
    void ReallocHistory();
    void DisplayPoints(QPainter& painter, std::int32_t index);
    void PaintBar(QPainter& painter, QColor color, std::int32_t base, std::int32_t height);
    void PaintLine(QPainter& painter, QColor color, std::int32_t from, std::int32_t to);
    // Runs draw with the painter set so that the picture's columns left to
    // right (as shown) land where they lie in the ring: once, or twice where
    // they cross its seam.
    template <typename Draw>
    void InRing(QPainter& painter, std::int32_t left, std::int32_t right, Draw draw);
    void RequestRepaint();

    TGraphKind GraphKind = TGraphKind::pgLine;
    QColor Fore = QColor(0, 128, 0);
    QColor Back = Qt::black;
    std::int32_t Grid = 15;
    std::int32_t Step = 3;
    std::int32_t CurrentScale = 1000;
    std::int32_t ScaleGradient = 100;
    bool GridShown = true;
    std::int32_t Pen = 2;
    std::int32_t GridOffset = 0;
    // The rightmost step's column, where the next step is drawn: left and right edge.
    std::int32_t BandLeft = 0;
    std::int32_t BandRight = 0;
    QImage Picture;
    // The column of the picture where the shown picture starts.
    std::int32_t Origin = 0;
    PerfHistory Ring;
    bool Painting = false;
    int Replays = 0;
};
