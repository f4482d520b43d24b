#include "platform/testing/TestClipboard.h"

namespace ondrex {

bool TTestClipboard::Publish(TClipFormats formats) {
    ++Publishes;
    if (RefuseWrites) return false;
    Content = std::move(formats);
    return true;
}

bool TTestClipboard::HasFormat(TClipFormat format) const {
    return Content.count(format) > 0;
}

std::optional<std::string> TTestClipboard::Read(TClipFormat format) const {
    if (RefuseReads) throw EClipboardError("The clipboard refused the read");
    const auto it = Content.find(format);
    if (it == Content.end()) return {};
    return std::string(it->second.View());
}

TScopedTestClipboard::TScopedTestClipboard() {
    auto fake = std::make_unique<TTestClipboard>();
    fake_ = fake.get();
    saved_ = Clipboard().SetSystem(std::move(fake));
}

TScopedTestClipboard::~TScopedTestClipboard() {
    Clipboard().SetSystem(std::move(saved_));
}

} // namespace ondrex
