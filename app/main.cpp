#include "aboutbox.h"
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
    // Made after the main window and hidden until "Über..." asks for it; destroyed before the window.
    TAboutBox AboutBox(&MainForm);
    MainForm.setAboutBox(&AboutBox);
    MainForm.show();
    return application.exec();
}
