// The floors of the start-up benchmark: an empty window of the program's size
// and title, and nothing else; with "text", the same window holding one line of
// text, so that it loads a font as every window that draws text must.
#include "app/shown_report.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Corvane V 2.0"));
    window.setFixedSize(722, 507);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0)
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Network paths")));
    ShownReport::Watch(window);
    window.show();
    return QApplication::exec();
}
