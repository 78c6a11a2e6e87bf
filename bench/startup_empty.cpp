// The floor of the start-up benchmark: an empty window of the program's size
// and title, and nothing else.
#include "app/shown_report.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Corvane V 2.0"));
    window.setFixedSize(722, 507);
    ShownReport::Watch(window);
    window.show();
    return QApplication::exec();
}
