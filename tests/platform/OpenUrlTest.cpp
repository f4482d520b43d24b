// Links handed to the desktop: only well-formed URLs get that far, and a test can stand in
// for the desktop for as long as it needs.

#include "platform/OpenUrl.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ondrex;

TEST(OpenUrl, RefusesAddressesThatAreNoUrl) {
    std::vector<std::string> handed;
    TUrlHandlerOverride desktop([&](const std::string& url) {
        handed.push_back(url);
        return true;
    });
    EXPECT_FALSE(OpenUrl(""));
    EXPECT_FALSE(OpenUrl("no scheme here"));
    EXPECT_FALSE(OpenUrl("://example.org"));
    EXPECT_FALSE(OpenUrl("http://exa mple.org/"));
    EXPECT_TRUE(handed.empty());
}

TEST(OpenUrl, OverridesNestAndRestoreTheirPredecessor) {
    std::vector<std::string> outer, inner;
    TUrlHandlerOverride a([&](const std::string& url) {
        outer.push_back(url);
        return true;
    });
    {
        TUrlHandlerOverride b([&](const std::string& url) {
            inner.push_back(url);
            return false;
        });
        EXPECT_FALSE(OpenUrl("mailto:a@b"));
    }
    EXPECT_TRUE(OpenUrl("https://example.org/?q=%24(x)"));
    EXPECT_EQ(inner, std::vector<std::string>{"mailto:a@b"});
    EXPECT_EQ(outer, std::vector<std::string>{"https://example.org/?q=%24(x)"});
}
