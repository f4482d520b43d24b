#include "app/index/TagsFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ondrex {
namespace {

TSiteSymbol symbol(std::string name, int line, std::string text, bool sub = false) {
    TSiteSymbol s;
    s.name = std::move(name);
    s.line = line;
    s.endLine = line + 1;
    s.isSub = sub;
    s.lineText = std::move(text);
    s.nameColumn = s.lineText.find(s.name);
    return s;
}

std::vector<std::string> tagLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (l[0] != '!') lines.push_back(l);
    return lines;
}

TEST(TagsFile, SortedWithLettersFoldedToUpperCase) {
    TVimTags tags;
    tags.Add("b.asp", {symbol("getuser", 3, "Sub getuser", true), symbol("Az", 1, "Sub Az", true)});
    tags.Add("a.asp", {symbol("A_b", 9, "Sub A_b", true), symbol("GetUser", 2, "Sub GetUser", true),
                       symbol("GetUser", 1, "Sub GetUser", true)});
    const std::string text = tags.Text("1.0");
    EXPECT_NE(text.find("!_TAG_FILE_SORTED\t2\t"), std::string::npos);
    std::vector<std::string> names;
    for (const std::string& l : tagLines(text))
        names.push_back(l.substr(0, l.find('\t')) + "@" + l.substr(l.rfind("line:")));
    // '_' sorts after 'Z' once folded to upper case; equal names by spelling, path, line.
    EXPECT_EQ(names, (std::vector<std::string>{"Az@line:1\tend:2", "A_b@line:9\tend:10",
                                               "GetUser@line:1\tend:2", "GetUser@line:2\tend:3",
                                               "getuser@line:3\tend:4"}));
}

TEST(TagsFile, PatternsEscapeAndCut) {
    TVimTags tags;
    TSiteSymbol cut = symbol("f", 4, "function f() { a/b }");
    cut.lineCut = true;
    tags.Add("x.js", {symbol("p", 1, R"(sub p { s/\\/x/; $)"), cut,
                      symbol("n", 7, std::string("function n() {\0}", 16))});
    const auto lines = tagLines(tags.Text("1.0"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "f\tx.js\t/^function f() { a\\/b }/;\"\tf\tline:4\tend:5");
    EXPECT_EQ(lines[1], "n\tx.js\t/^function n() {/;\"\tf\tline:7\tend:8");
    EXPECT_EQ(lines[2], R"(p	x.js	/^sub p { s\/\\\\\/x\/; \$$/;"	f	line:1	end:2)");
}

TEST(TagsFile, EtagsSectionSizesCountTheirBytes) {
    TSiteSymbol a = symbol("Foo", 1, "Function Foo(a)");
    TSiteSymbol b = symbol("Bar", 4, "Sub Bar", true);
    b.lineOffset = 37;
    std::string out;
    AppendEtagsSection(out, "a.asp", {a, b});
    EXPECT_EQ(out, "\f\na.asp,38\nFunction Foo\x7f"
                   "Foo\x01"
                   "1,0\nSub Bar\x7f"
                   "Bar\x01"
                   "4,37\n");
    EXPECT_FALSE(NameableInTags("a\tb.asp"));
    EXPECT_FALSE(NameableInTags("a\nb.asp"));
}

} // namespace
} // namespace ondrex
