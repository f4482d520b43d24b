#pragma once
// The seven attributes and token kinds 0..7 that the simpler languages share (comment,
// identifier, key, null, number, space, string, symbol), made once here.

#include "highlighters/TqvTableHighLighter.h"

namespace ondrex {

class TqvBasicHighLighter : public TqvTableHighLighter {
public:
    TqvHighLightAttributes* CommentAttri;
    TqvHighLightAttributes* IdentifierAttri;
    TqvHighLightAttributes* KeyAttri;
    TqvHighLightAttributes* NumberAttri;
    TqvHighLightAttributes* SpaceAttri;
    TqvHighLightAttributes* StringAttri;
    TqvHighLightAttributes* SymbolAttri;

protected:
    enum TBasicKind : TqvTokenKind {
        bkComment = 0,
        bkIdentifier = 1,
        bkKey = 2,
        bkNull = 3,
        bkNumber = 4,
        bkSpace = 5,
        bkString = 6,
        bkSymbol = 7,
    };

    explicit TqvBasicHighLighter(std::uint8_t initialRange);
};

} // namespace ondrex
