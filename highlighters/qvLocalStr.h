#pragma once
// Texts of the highlighters: attribute names (also the registry subkey names), language
// names and open-dialog filters.

namespace ondrex {

inline constexpr const char* SYNS_AttrComment = "Comment";
inline constexpr const char* SYNS_AttrIdentifier = "Identifier";
inline constexpr const char* SYNS_AttrReservedWord = "Reserved word";
inline constexpr const char* SYNS_AttrNumber = "Number";
inline constexpr const char* SYNS_AttrSpace = "Space";
inline constexpr const char* SYNS_AttrString = "String";
inline constexpr const char* SYNS_AttrSymbol = "Symbol";
inline constexpr const char* SYNS_AttrIllegalChar = "Illegal char";
inline constexpr const char* SYNS_AttrInvalidSymbol = "Invalid symbol";
inline constexpr const char* SYNS_AttrOperator = "Operator";
inline constexpr const char* SYNS_AttrPragma = "Pragma";
inline constexpr const char* SYNS_AttrVariable = "Variable";

inline constexpr const char* SYNS_LangVBSScript = "MS VBScript";
inline constexpr const char* SYNS_LangJScript = "Javascript";
inline constexpr const char* SYNS_LangPerl = "Perl";
inline constexpr const char* SYNS_LangPHP = "PHP";

inline constexpr const char* SYNS_FilterVBScript = "VBScript files (*.vbs)|*.vbs";
inline constexpr const char* SYNS_FilterJScript = "Javascript files (*.js)|*.js";
inline constexpr const char* SYNS_FilterPerl = "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi";
inline constexpr const char* SYNS_FilterPHP =
    "PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc";

} // namespace ondrex
