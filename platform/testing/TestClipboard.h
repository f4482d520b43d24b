#pragma once
// TTestClipboard: an in-memory clipboard that refuses writes or reads when told to, since a
// real clipboard cannot be made to refuse. TScopedTestClipboard puts one behind Clipboard()
// for a scope and gives the previous one back at its end.

#include "platform/Clipboard.h"

namespace ondrex {

class TTestClipboard : public TClipboardSystem {
public:
    bool RefuseWrites = false;
    bool RefuseReads = false;
    int Publishes = 0; // taken or refused
    TClipFormats Content;

    bool Publish(TClipFormats formats) override;
    bool HasFormat(TClipFormat format) const override;
    std::optional<std::string> Read(TClipFormat format) const override;
};

class TScopedTestClipboard {
public:
    TScopedTestClipboard();
    ~TScopedTestClipboard();
    TScopedTestClipboard(const TScopedTestClipboard&) = delete;
    TScopedTestClipboard& operator=(const TScopedTestClipboard&) = delete;

    TTestClipboard& Fake() { return *fake_; }

private:
    TTestClipboard* fake_;
    std::unique_ptr<TClipboardSystem> saved_;
};

} // namespace ondrex
