#include "aboutbox.h"
#include "filename.h"
#include "mainform.h"
#include "startrequest.h"
#include "startup.h"
#include "temporaryfiles.h"
#include "wabrixapplication.h"
#include "windowmemory.h"

namespace {

// The arguments with a document's name kept to its bytes (fileNameFromSystem).
QStringList argumentsOf(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromSystem(QByteArray(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char *argv[]) {
    // Help and version need no display: they are answered before the window system starts.
    const StartRequest early = parseStartArguments(argumentsOf(argc, argv));
    if (early.action == StartRequest::Action::ShowHelp || early.action == StartRequest::Action::ShowVersion)
        return answerStartRequest(early, QStringLiteral(WABRIX_VERSION));

    WabrixApplication application(argc, argv);
    // Qt has taken its own options out of argv.
    const StartRequest request = parseStartArguments(argumentsOf(argc, argv));
    if (request.action != StartRequest::Action::Run)
        return answerStartRequest(request, QStringLiteral(WABRIX_VERSION));
    // Desktops match the window to the installed wabrix.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("wabrix"));
    installGermanQtTexts(application);
    useWindowFont();
    reportAllocationFailuresInMessageBoxes();
    removeTemporaryFilesOnInterrupt();
    QApplication::setWindowIcon(programIcon());

    // Outlives the window, which keeps its size, divider and recent documents in it when it closes.
    WindowMemory memory;
    TMainForm MainForm;
    MainForm.setMemory(&memory);
    // Made after the main window and hidden until "Über..." asks for it; destroyed before the window.
    TAboutBox AboutBox(&MainForm);
    MainForm.setAboutBox(&AboutBox);
    MainForm.show();
    openDocumentAtStart(MainForm, request.document);
    return application.exec();
}
