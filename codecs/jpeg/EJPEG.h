#pragma once
// The JPEG picture's error: a libjpeg error with its message code, or one of
// the picture's own refusals of a hostile file.
#include <string>

#include "base/Exceptions.h"

namespace kobalto {

class EJPEG : public EInvalidGraphic {
public:
    // "JPEG エラー #code", code being libjpeg's message code.
    explicit EJPEG(int code);
    // A refusal of our own, with its text; Code() is -1.
    explicit EJPEG(const std::string& message) : EInvalidGraphic(message) {}

    int Code() const { return code_; }

private:
    int code_ = -1;
};

}  // namespace kobalto
