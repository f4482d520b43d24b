#include "platform/MethodChain.h"

namespace ondrex {

void TqvMethodChain::Add(const TNotifyEvent& handler) {
    handlers_.push_back(handler);
}

void TqvMethodChain::Remove(const TNotifyEvent& handler) {
    for (auto i = handlers_.size(); i-- > 0;)
        if (handlers_[i] == handler) handlers_.erase(handlers_.begin() + i);
}

void TqvMethodChain::Fire() {
    // A handler may add or remove handlers; the snapshot keeps this firing well defined.
    const std::vector<TNotifyEvent> snapshot = handlers_;
    for (const TNotifyEvent& handler : snapshot) {
        try {
            CallMethod(handler);
        } catch (const std::exception& error) {
            if (!DoHandleException(error)) return;
        }
    }
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
