#pragma once
// TProgress: long work the user waits for, shown while it lasts (how far it has come, and a
// Cancel). Dialogs().BeginProgress makes one; destroying it takes the display away.

#include <cstddef>

namespace ondrex {

class TProgress {
public:
    virtual ~TProgress() = default;
    // `done` of the total steps are done. Lets the window paint and answer, by time (about
    // every 20 ms), so a call per small step costs nothing measurable; the last step is
    // always shown. False once the user asked to stop: the caller ends the work cleanly.
    virtual bool Advance(std::size_t done) = 0;
};

} // namespace ondrex
