#include "highlighters/TqvBasicHighLighter.h"

#include "highlighters/qvLocalStr.h"

namespace ondrex {

TqvBasicHighLighter::TqvBasicHighLighter(std::uint8_t initialRange)
    : TqvTableHighLighter(bkNull, initialRange) {
    CommentAttri = MakeAttribute(SYNS_AttrComment, fsItalic);
    IdentifierAttri = MakeAttribute(SYNS_AttrIdentifier);
    KeyAttri = MakeAttribute(SYNS_AttrReservedWord, fsBold);
    NumberAttri = MakeAttribute(SYNS_AttrNumber);
    SpaceAttri = MakeAttribute(SYNS_AttrSpace);
    StringAttri = MakeAttribute(SYNS_AttrString);
    SymbolAttri = MakeAttribute(SYNS_AttrSymbol);
    BindAttributeChanges();

    DefineKind(bkComment, CommentAttri, exSecond);
    DefineKind(bkIdentifier, IdentifierAttri, exPlain);
    DefineKind(bkKey, KeyAttri, exPlain);
    DefineKind(bkNumber, NumberAttri, exPlain);
    DefineKind(bkSpace, SpaceAttri, exWhitespace);
    DefineKind(bkString, StringAttri, exSecond);
    DefineKind(bkSymbol, SymbolAttri, exSecond);
    SetDefaultAttributes(SpaceAttri, CommentAttri, KeyAttri);
}

} // namespace ondrex
