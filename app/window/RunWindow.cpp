#include "app/window/RunWindow.h"

#include "app/window/Tfrm_Ondrex.h"
#include "platform/Application.h"

#include <QApplication>

namespace ondrex::window {

int RunWindow(int argc, char** argv, const std::string& file) {
    QApplication qapp(argc, argv);
    Application().Title = "Ondrex - the Ondrex project";
    Tfrm_Ondrex frm_Ondrex(file);
    frm_Ondrex.show();
    return qapp.exec();
}

} // namespace ondrex::window
