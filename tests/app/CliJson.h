#pragma once
// A small strict JSON reader for the command-line tests: enough to check that the output is
// one valid JSON value and to look inside it.

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::testjson {

struct Member;

struct Value {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool b = false;
    double num = 0;
    std::string str;
    std::vector<Value> arr;
    std::vector<Member> obj; // in document order; a vector may hold a type not yet complete

    const Value& operator[](const std::string& key) const;
    const Value& operator[](std::size_t i) const { return arr.at(i); }
    std::vector<std::string> keys() const;
};

struct Member {
    std::string key;
    Value value;
};

inline const Value& Value::operator[](const std::string& key) const {
    for (const Member& member : obj)
        if (member.key == key) return member.value;
    throw std::runtime_error("no key " + key);
}

inline std::vector<std::string> Value::keys() const {
    std::vector<std::string> out;
    for (const Member& member : obj)
        out.push_back(member.key);
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    Value parseDocument() {
        Value v = value();
        ws();
        if (i_ != s_.size()) fail("trailing text");
        return v;
    }

private:
    [[noreturn]] void fail(const std::string& why) {
        throw std::runtime_error("JSON: " + why + " at " + std::to_string(i_));
    }
    void ws() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
            ++i_;
    }
    bool eat(char c) {
        ws();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!eat(c)) fail(std::string("expected ") + c);
    }
    Value value() {
        ws();
        if (i_ >= s_.size()) fail("end of text");
        Value v;
        char c = s_[i_];
        if (c == '{') {
            ++i_;
            v.kind = Value::Object;
            if (eat('}')) return v;
            do {
                ws();
                std::string k = string();
                expect(':');
                v.obj.push_back({k, value()});
            } while (eat(','));
            expect('}');
        } else if (c == '[') {
            ++i_;
            v.kind = Value::Array;
            if (eat(']')) return v;
            do
                v.arr.push_back(value());
            while (eat(','));
            expect(']');
        } else if (c == '"') {
            v.kind = Value::String;
            v.str = string();
        } else if (s_.substr(i_, 4) == "true") {
            v.kind = Value::Bool, v.b = true, i_ += 4;
        } else if (s_.substr(i_, 5) == "false") {
            v.kind = Value::Bool, i_ += 5;
        } else if (s_.substr(i_, 4) == "null") {
            i_ += 4;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            std::size_t start = i_;
            if (s_[i_] == '-') ++i_;
            while (i_ < s_.size() &&
                   ((s_[i_] >= '0' && s_[i_] <= '9') || s_[i_] == '.' || s_[i_] == 'e' ||
                    s_[i_] == 'E' || s_[i_] == '+' || s_[i_] == '-'))
                ++i_;
            v.kind = Value::Number;
            v.num = std::strtod(std::string(s_.substr(start, i_ - start)).c_str(), nullptr);
        } else {
            fail("unexpected character");
        }
        return v;
    }
    static void utf8(unsigned cp, std::string& out) {
        if (cp < 0x80)
            out += char(cp);
        else if (cp < 0x800)
            out += char(0xC0 | cp >> 6), out += char(0x80 | (cp & 63));
        else if (cp < 0x10000)
            out += char(0xE0 | cp >> 12), out += char(0x80 | ((cp >> 6) & 63)),
                out += char(0x80 | (cp & 63));
        else
            out += char(0xF0 | cp >> 18), out += char(0x80 | ((cp >> 12) & 63)),
                out += char(0x80 | ((cp >> 6) & 63)), out += char(0x80 | (cp & 63));
    }
    unsigned hex4() {
        if (i_ + 4 > s_.size()) fail("short \\u");
        unsigned v = std::stoul(std::string(s_.substr(i_, 4)), nullptr, 16);
        i_ += 4;
        return v;
    }
    std::string string() {
        if (i_ >= s_.size() || s_[i_] != '"') fail("expected string");
        ++i_;
        std::string out;
        while (true) {
            if (i_ >= s_.size()) fail("unterminated string");
            unsigned char c = static_cast<unsigned char>(s_[i_++]);
            if (c == '"') break;
            if (c < 0x20) fail("control character in string");
            if (c != '\\') {
                out += char(c);
                continue;
            }
            char e = s_[i_++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned cp = hex4();
                if (cp >= 0xD800 && cp < 0xDC00 && s_.substr(i_, 2) == "\\u") {
                    i_ += 2;
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (hex4() - 0xDC00);
                }
                utf8(cp, out);
                break;
            }
            default:
                fail("bad escape");
            }
        }
        return out;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

inline Value Parse(std::string_view text) {
    return Parser(text).parseDocument();
}

} // namespace ondrex::testjson
