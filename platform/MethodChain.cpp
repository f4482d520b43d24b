#include "platform/MethodChain.h"

namespace ondrex {

void TqvMethodChain::Fire() {
    handlers_.ForEach([this](const TNotifyEvent& handler) {
        try {
            CallMethod(handler);
        } catch (const std::exception& error) {
            if (!DoHandleException(error)) return false;
        }
        return true;
    });
}

bool TqvMethodChain::DoHandleException(const std::exception& error) {
    if (!ExceptionHandler) throw;
    bool doContinue = true;
    try {
        ExceptionHandler(this, error, doContinue);
    } catch (...) {
        throw EqvMethodChain(ClassName() +
                             ".DoHandleException : MUST NOT occur any kind of exception in "
                             "ExceptionHandler");
    }
    return doContinue;
}

} // namespace ondrex
