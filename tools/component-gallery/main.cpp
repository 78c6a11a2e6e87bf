// Shows the reusable components on one window, with a few controls to change
// their properties. Not the program: a place to look at them working.
#include "components/Ccalendr.h"
#include "components/Cdiroutl.h"
#include "components/Cgauges.h"
#include "components/Perfgrap.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>

#include <random>

namespace {

QGroupBox* GaugeBox(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("Gauge"), parent);
    auto* gauge = new TCGauge(box);
    gauge->setFixedSize(160, 160);
    auto* progress = new QSlider(Qt::Horizontal, box);
    progress->setRange(0, 100);
    auto* kind = new QComboBox(box);
    kind->addItems({QStringLiteral("Text"), QStringLiteral("Horizontal bar"), QStringLiteral("Vertical bar"),
                    QStringLiteral("Pie"), QStringLiteral("Needle")});
    kind->setCurrentIndex(1);
    auto* text = new QCheckBox(QStringLiteral("Show text"), box);
    text->setChecked(true);
    auto* animate = new QCheckBox(QStringLiteral("Animate"), box);
    animate->setChecked(true);

    QObject::connect(progress, &QSlider::valueChanged, gauge, &TCGauge::SetProgress);
    QObject::connect(kind, &QComboBox::currentIndexChanged, gauge,
                     [gauge](int index) { gauge->SeTCGaugeKind(static_cast<TCGaugeKind>(index)); });
    QObject::connect(text, &QCheckBox::toggled, gauge, &TCGauge::SetShowText);
    auto* timer = new QTimer(box);
    QObject::connect(timer, &QTimer::timeout, progress, [progress, animate] {
        if (animate->isChecked())
            progress->setValue((progress->value() + 1) % 101);
    });
    timer->start(60);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Progress"), progress);
    form->addRow(QStringLiteral("Kind"), kind);
    form->addRow(text);
    form->addRow(animate);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(gauge);
    layout->addLayout(form);
    return box;
}

QGroupBox* GraphBox(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("Performance graph"), parent);
    auto* graph = new TPerformanceGraph(box);
    graph->setFixedSize(300, 160);
    auto* kind = new QComboBox(box);
    kind->addItems({QStringLiteral("Bars"), QStringLiteral("Lines")});
    kind->setCurrentIndex(1);
    auto* step = new QSpinBox(box);
    step->setRange(1, 20);
    step->setValue(graph->StepSize());
    auto* grid = new QCheckBox(QStringLiteral("Grid lines"), box);
    grid->setChecked(true);

    QObject::connect(kind, &QComboBox::currentIndexChanged, graph,
                     [graph](int index) { graph->SetGraphKind(static_cast<TGraphKind>(index)); });
    QObject::connect(step, &QSpinBox::valueChanged, graph, &TPerformanceGraph::SetStepSize);
    QObject::connect(grid, &QCheckBox::toggled, graph, &TPerformanceGraph::SetGridlines);

    // Four series that wander, in rising order as stacked bars want them.
    auto* timer = new QTimer(box);
    auto random = std::make_shared<std::mt19937>(1);
    auto levels = std::make_shared<std::array<int, 4>>(std::array<int, 4>{100, 250, 400, 600});
    QObject::connect(timer, &QTimer::timeout, graph, [graph, random, levels] {
        static const QColor colors[] = {Qt::yellow, Qt::cyan, Qt::magenta, Qt::white};
        std::uniform_int_distribution<int> wander(-40, 40);
        int floor = 0;
        for (std::size_t i = 0; i < levels->size(); ++i) {
            (*levels)[i] = std::clamp((*levels)[i] + wander(*random), floor + 10, 900);
            floor = (*levels)[i];
            graph->DataPoint(colors[i], (*levels)[i]);
        }
        graph->Update();
    });
    timer->start(100);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Kind"), kind);
    form->addRow(QStringLiteral("Step"), step);
    form->addRow(grid);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(graph);
    layout->addLayout(form);
    return box;
}

QGroupBox* CalendarBox(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("Calendar"), parent);
    auto* calendar = new TCCalendar(box);
    calendar->setFixedSize(7 * 32 + 6, 7 * 20 + 6);
    auto* previous = new QPushButton(QStringLiteral("< Month"), box);
    auto* next = new QPushButton(QStringLiteral("Month >"), box);
    auto* start = new QComboBox(box);
    for (int day = 1; day <= 7; ++day)
        start->addItem(QLocale().dayName(day));
    auto* readOnly = new QCheckBox(QStringLiteral("Read only"), box);
    QObject::connect(previous, &QPushButton::clicked, calendar, &TCCalendar::PrevMonth);
    QObject::connect(next, &QPushButton::clicked, calendar, &TCCalendar::NextMonth);
    QObject::connect(start, &QComboBox::currentIndexChanged, calendar,
                     [calendar](int index) { calendar->SetStartOfWeek(index + 1); });
    QObject::connect(readOnly, &QCheckBox::toggled, calendar, &TCCalendar::SetReadOnly);
    auto* form = new QFormLayout;
    form->addRow(previous, next);
    form->addRow(QStringLiteral("Week starts"), start);
    form->addRow(readOnly);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(calendar);
    layout->addLayout(form);
    return box;
}

QGroupBox* OutlineBox(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("Directory outline"), parent);
    auto* outline = new TCDirectoryOutline(box);
    outline->setMinimumSize(300, 200);
    auto* where = new QLabel(box);
    auto* textCase = new QComboBox(box);
    textCase->addItems({QStringLiteral("Lower case"), QStringLiteral("Upper case"), QStringLiteral("As is")});
    outline->OnChange = [where](TCDirectoryOutline& changed) {
        where->setText(QString::fromLocal8Bit(changed.Directory()));
    };
    // The outline's errors are its caller's to handle: here they are shown.
    QObject::connect(textCase, &QComboBox::currentIndexChanged, outline, [outline, where](int index) {
        try {
            outline->SetTextCase(static_cast<TTextCase>(index));
        } catch (const EOutlineError& error) {
            where->setText(QString::fromLatin1(error.what()));
        }
    });
    outline->SetTextCase(TTextCase::tcAsIs);
    textCase->setCurrentIndex(2);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Names"), textCase);
    form->addRow(QStringLiteral("Directory"), where);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(outline);
    layout->addLayout(form);
    return box;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Corvane components"));
    auto* layout = new QGridLayout(&window);
    layout->addWidget(CalendarBox(&window), 0, 0);
    layout->addWidget(OutlineBox(&window), 0, 1);
    layout->addWidget(GaugeBox(&window), 1, 0);
    layout->addWidget(GraphBox(&window), 1, 1);
    window.show();
    return QApplication::exec();
}
