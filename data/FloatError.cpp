#include "data/FloatError.h"

#include "platform/AppError.h"
#include "platform/Cp932.h"

const SjisString& ZeroDivideText() {
    static const SjisString text = Utf8ToSjis("0 による浮動小数点数除算");
    return text;
}

const SjisString& InvalidOpText() {
    static const SjisString text = Utf8ToSjis("不正な浮動小数点数演算命令");
    return text;
}

void RaiseZeroDivide() {
    throw AppError(ZeroDivideText());
}
void RaiseInvalidOp() {
    throw AppError(InvalidOpText());
}
