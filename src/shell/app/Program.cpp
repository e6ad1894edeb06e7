#include "shell/app/Program.h"

#include "resources/Strings.h"
#include "shell/DesktopMessageBoxes.h"

#include <QApplication>

int RunProgram(int argc, char** argv, ProgramVariant variant) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(CProfile::Organization());
    QApplication::setApplicationName(CProfile::Application());
    QApplication::setApplicationDisplayName(res::LoadString(res::IDS_APP_TITLE));
    vmc::SetMessageBoxService(std::make_shared<CDesktopMessageBoxes>());
    int code = 0;
    {
        CVMC70App theApp(variant);
        RegisterProgramPages(theApp.Catalog());
        if (!theApp.InitInstance(QApplication::arguments()))
            return theApp.ExitCode();
        code = QApplication::exec();
    }
    vmc::SetMessageBoxService(nullptr);
    return code;
}
