#pragma once
// Reading JSON in tests with the library the language server reads it with (simdjson):
// a parsed document that owns its parser, and short accessors that throw on a missing
// member or a wrong type, so that a test fails with the library's message.

#include <simdjson.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::testjson {

using Element = simdjson::dom::element;

class Json {
public:
    // Throws simdjson_error when the text is not one valid JSON value.
    explicit Json(std::string_view text)
        : parser_(std::make_unique<simdjson::dom::parser>()),
          root_(parser_->parse(std::string(text)).value()) {}
    Element Root() const { return root_; }
    simdjson::simdjson_result<Element> operator[](std::string_view key) const { return root_[key]; }

private:
    std::unique_ptr<simdjson::dom::parser> parser_;
    Element root_;
};

// The accessors take an element or a lookup's result (which throws when it failed).
inline Element ValueOf(Element e) {
    return e;
}
inline Element ValueOf(simdjson::simdjson_result<Element> r) {
    return r.value();
}

template <class V> std::string Str(V v) {
    return std::string(ValueOf(v).get_string().value());
}
template <class V> double Num(V v) {
    const Element e = ValueOf(v);
    return e.is_double() ? e.get_double().value() : double(e.get_int64().value());
}
template <class V> bool Bool(V v) {
    return ValueOf(v).get_bool().value();
}
template <class V> std::vector<Element> Arr(V v) {
    std::vector<Element> out;
    const simdjson::dom::array array = ValueOf(v).get_array().value();
    for (Element e : array)
        out.push_back(e);
    return out;
}
// The keys of an object in document order.
template <class V> std::vector<std::string> Keys(V v) {
    std::vector<std::string> out;
    const simdjson::dom::object object = ValueOf(v).get_object().value();
    for (auto field : object)
        out.emplace_back(field.key);
    return out;
}

} // namespace ondrex::testjson
