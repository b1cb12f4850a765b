// chmbook: the desktop window.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chmbook"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/chmbook.xpm")));

    // The window speaks Chinese; Qt's own dialogs (the folder dialog) too.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    chmbook::MainWindow window;
    window.show();
    return QApplication::exec();
}
