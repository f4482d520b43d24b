#pragma once
// Root of the component classes: gives every sender of a notification one common type
// and a class name for messages.

#include <string>

namespace ondrex {

class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const { return "TObject"; }
};

} // namespace ondrex
