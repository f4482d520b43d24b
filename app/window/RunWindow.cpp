#include "app/window/RunWindow.h"

#include "app/window/DisplayProbe.h"
#include "app/window/Tfrm_Ondrex.h"
#include "platform/Application.h"

#include <QApplication>

#include <iostream>

namespace ondrex::window {

int RunWindow(int argc, char** argv, const std::string& file) {
    QApplication qapp(argc, argv);
    std::cerr << InvisibleWindowNotice(QGuiApplication::platformName().toStdString()) << std::flush;
    Application().Title = "Ondrex - the Ondrex project";
    Tfrm_Ondrex frm_Ondrex(file);
    frm_Ondrex.show();
    const int status = qapp.exec();
    // The hint window is a widget: it must go while the application object still exists,
    // not with the process-wide TApplication at exit.
    Application().SetShowHint(false);
    return status;
}

} // namespace ondrex::window
