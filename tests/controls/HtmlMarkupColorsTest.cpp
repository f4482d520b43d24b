// Colour values and tag reading of list-box markup.

#include "controls/HtmlMarkupColors.h"
#include "controls/HtmlMarkupTags.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

using namespace ondrex;

TEST(MarkupColor, NamesNeedALowerCaseClAndIgnoreTheRestOfTheCase) {
    EXPECT_EQ(MarkupColor("clRed"), 0x0000FFu);
    EXPECT_EQ(MarkupColor("clnavy"), 0x800000u);
    EXPECT_EQ(MarkupColor("clBtnFace"), clBtnFace);
    // Without the lower-case "cl" the value is no name at all.
    EXPECT_EQ(MarkupColor("CLRED"), clBlack);
    EXPECT_EQ(MarkupColor("clNoSuchColour"), clBlack);
    EXPECT_EQ(MarkupColor("red"), clBlack);
}

TEST(MarkupColor, HashValuesAreRedGreenBlueAndWinOverNames) {
    EXPECT_EQ(MarkupColor("#FF0000"), RGB(255, 0, 0));
    EXPECT_EQ(MarkupColor("#00ff80"), RGB(0, 255, 128));
    EXPECT_EQ(MarkupColor("#102030"), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(MarkupColor("#0000FF clred"), RGB(0, 0, 255));
}

TEST(MarkupColor, BrokenHashValuesStayPlainColours) {
    // Missing digits count as 0; other characters never reach into the system-colour bits.
    EXPECT_EQ(MarkupColor("#F"), RGB(0xF0, 0, 0));
    EXPECT_EQ(MarkupColor("#"), clBlack);
    for (const char* value : {"#zzzzzz", "#!!!!!!", "#\xff\xff\xff\xff\xff\xff", "#~~"})
        EXPECT_EQ(MarkupColor(value) & 0xFF000000u, 0u) << value;
}

TEST(MarkupTags, AreKnownByTheirFirstLettersInAnyCase) {
    EXPECT_EQ(ClassifyTag("<b>"), TMarkupTag::Bold);
    EXPECT_EQ(ClassifyTag("<Br>"), TMarkupTag::Break);
    EXPECT_EQ(ClassifyTag("<body bgcolor=\"#000000\">"), TMarkupTag::Body);
    EXPECT_EQ(ClassifyTag("<B class=x>"), TMarkupTag::Unknown);
    EXPECT_EQ(ClassifyTag("<i>"), TMarkupTag::Italic);
    EXPECT_EQ(ClassifyTag("<ind x=\"4\">"), TMarkupTag::Indent);
    EXPECT_EQ(ClassifyTag("<img src=\"idx:0\">"), TMarkupTag::Image);
    EXPECT_EQ(ClassifyTag("<abbr>"), TMarkupTag::Anchor);
    EXPECT_EQ(ClassifyTag("<font>"), TMarkupTag::Font);
    EXPECT_EQ(ClassifyTag("<hr>"), TMarkupTag::Rule);
    EXPECT_EQ(ClassifyTag("<p align=right>"), TMarkupTag::Paragraph);
    EXPECT_EQ(ClassifyTag("<u>"), TMarkupTag::Underline);
    EXPECT_EQ(ClassifyTag("</a>"), TMarkupTag::EndAnchor);
    EXPECT_EQ(ClassifyTag("</FONT>"), TMarkupTag::EndFont);
    EXPECT_EQ(ClassifyTag("</p>"), TMarkupTag::EndParagraph);
    EXPECT_EQ(ClassifyTag("</>"), TMarkupTag::Unknown);
    EXPECT_EQ(ClassifyTag("<x>"), TMarkupTag::Unknown);
}

TEST(MarkupTags, AttributeValuesAreQuotedAndFoundInAnyCase) {
    EXPECT_EQ(TagAttribute("<A HREF=\"page\">", "href"), "page");
    EXPECT_EQ(TagAttribute("<a href=page>", "href"), "");
    EXPECT_EQ(TagAttribute("<a href=\"page>", "href"), "");
    EXPECT_EQ(TagAttribute("<a>", "href"), "");
    // The first occurrence of the name counts, even inside another name.
    EXPECT_EQ(TagAttribute("<font bgcolor=\"clred\" color=\"clblue\">", "color"), "clred");
}

TEST(MarkupTags, IntegersAreWholeDecimalNumbers) {
    EXPECT_EQ(ParseMarkupInteger("12"), 12);
    EXPECT_EQ(ParseMarkupInteger("-3"), -3);
    EXPECT_EQ(ParseMarkupInteger("+7"), 7);
    for (const char* bad : {"", "1.5", "12pt", " 4", "big", "99999999999", "+-1", "+"})
        EXPECT_FALSE(ParseMarkupInteger(bad)) << bad;
}
