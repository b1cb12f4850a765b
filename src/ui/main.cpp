// chmbook: the desktop window.
#include <QApplication>
#include <QIcon>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chmbook"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/chmbook.xpm")));

    chmbook::MainWindow window;
    window.show();
    return QApplication::exec();
}
