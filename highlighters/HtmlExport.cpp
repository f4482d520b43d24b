#include "highlighters/HtmlExport.h"

#include "platform/SystemColors.h"

#include <algorithm>
#include <cstdio>

namespace ondrex {

namespace {

std::string CssColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(rgb), GetGValue(rgb),
                  GetBValue(rgb));
    return text;
}

std::string CssRule(const TTokenLook& look) {
    std::string rule;
    if (look.foreground != clNone) rule += "color:" + CssColor(look.foreground) + ";";
    if (look.background != clNone) rule += "background:" + CssColor(look.background) + ";";
    if (look.style & fsBold) rule += "font-weight:bold;";
    if (look.style & fsItalic) rule += "font-style:italic;";
    if (look.style & (fsUnderline | fsStrikeOut)) {
        rule += "text-decoration:";
        if (look.style & fsUnderline) rule += " underline";
        if (look.style & fsStrikeOut) rule += " line-through";
        rule += ";";
    }
    return rule;
}

} // namespace

void AppendHtmlText(std::string& out, std::string_view utf8) {
    // Runs of bytes that stand for themselves go in one append.
    auto isSpecial = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '&' || c == '<' || c == '>' || c == '"' || (byte < 0x20 && byte != '\t') ||
               byte == 0x7F;
    };
    while (!utf8.empty()) {
        const std::size_t run =
            std::size_t(std::find_if(utf8.begin(), utf8.end(), isSpecial) - utf8.begin());
        out.append(utf8.data(), run);
        if (run == utf8.size()) return;
        const auto byte = static_cast<unsigned char>(utf8[run]);
        switch (byte) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default: {
            // U+2400 + c (U+2421 for DEL), as UTF-8.
            const unsigned picture = byte == 0x7F ? 0x2421 : 0x2400 + byte;
            out += static_cast<char>(0xE0 | (picture >> 12));
            out += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (picture & 0x3F));
        }
        }
        utf8.remove_prefix(run + 1);
    }
}

THtmlExport::THtmlExport(TCodePage codePage, const TqvCustomHighLighter& highlighter)
    : TStyledExport(codePage, body_) {
    for (int i = 0; i < highlighter.AttributeCount(); ++i) {
        const TTokenLook look = LookOf(*highlighter.AttributeAt(i));
        if (!(look == TTokenLook{}) &&
            std::find(classes_.begin(), classes_.end(), look) == classes_.end())
            classes_.push_back(look);
    }
}

std::string THtmlExport::Opening(const TTokenLook& look) const {
    const auto listed = std::find(classes_.begin(), classes_.end(), look);
    if (listed == classes_.end()) return "<span style=\"" + CssRule(look) + "\">";
    return "<span class=\"t" + std::to_string(listed - classes_.begin()) + "\">";
}

std::string THtmlExport::Escaped(char ascii) const {
    std::string escaped;
    AppendHtmlText(escaped, std::string_view(&ascii, 1));
    return escaped;
}

std::string THtmlExport::PageHead(const std::string& title) const {
    std::string page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    AppendHtmlText(page, title);
    page += "</title>\n<style>\npre { font-family: \"Courier New\", monospace; color: " +
            CssColor(clWindowText) + "; background: " + CssColor(clWindow) + "; }\n";
    for (std::size_t i = 0; i < classes_.size(); ++i)
        page += ".t" + std::to_string(i) + " { " + CssRule(classes_[i]) + " }\n";
    page += "</style>\n</head>\n<body>\n<pre>";
    return page;
}

std::string THtmlExport::Page(const std::string& title) {
    std::string page = PageHead(title);
    page += PageBody();
    page += PageTail();
    return page;
}

} // namespace ondrex
