#include "mainform.h"
#include "startup.h"
#include "wabrixapplication.h"

int main(int argc, char *argv[]) {
    WabrixApplication application(argc, argv);
    installGermanQtTexts(application);
    useWindowFont();
    reportAllocationFailuresInMessageBoxes();
    QApplication::setWindowIcon(programIcon());

    TMainForm MainForm;
    MainForm.show();
    return application.exec();
}
