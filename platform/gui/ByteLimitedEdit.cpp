#include "platform/gui/ByteLimitedEdit.h"

#include "platform/gui/QtText.h"

#include <algorithm>

namespace {

// Bytes of a text; a character without a code counts as one byte (it is
// never kept in an insertion anyway).
int SjisBytes(const QString& text) {
    return static_cast<int>(QStringToSjis(text).size());
}

} // namespace

FittedEdit FitEditToByteLimit(const QString& before, const QString& after, int byteLimit) {
    const int shorter = static_cast<int>(std::min(before.size(), after.size()));
    int prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // Never split a surrogate pair between the kept parts and the insertion.
    if (prefix > 0 && after[prefix - 1].isHighSurrogate()) --prefix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate()) --suffix;

    const QString head = after.left(prefix);
    const QString tail = after.right(suffix);
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);

    int room = byteLimit - SjisBytes(head) - SjisBytes(tail);
    QString kept;
    for (int i = 0; i < inserted.size();) {
        const int width = inserted[i].isHighSurrogate() && i + 1 < inserted.size() ? 2 : 1;
        const QString ch = inserted.mid(i, width);
        i += width;
        SjisString bytes;
        if (!TryQStringToSjis(ch, bytes)) continue;
        if (static_cast<int>(bytes.size()) > room) break;
        room -= static_cast<int>(bytes.size());
        kept += ch;
    }
    return {head + kept + tail, static_cast<int>(head.size() + kept.size())};
}

ByteLimitedEdit::ByteLimitedEdit(int byteLimit, QWidget* parent) : QLineEdit(parent), byteLimit_(byteLimit) {
    // textEdited comes before textChanged, and a correction made in it is
    // followed by a late textChanged with the uncorrected text: so read the
    // edit's own text here, not the signal's argument.
    connect(this, &QLineEdit::textChanged, this, [this] { accepted_ = text(); });
    connect(this, &QLineEdit::textEdited, this, &ByteLimitedEdit::OnTextEdited);
}

void ByteLimitedEdit::SetSjisText(const SjisString& text) {
    storedBytes_ = text;
    storedText_ = SjisToQString(text);
    setText(storedText_);
    accepted_ = storedText_;
}

SjisString ByteLimitedEdit::SjisText() const {
    const QString shown = text();
    if (shown == storedText_) return storedBytes_;
    return QStringToSjis(shown);
}

void ByteLimitedEdit::OnTextEdited(const QString& edited) {
    const FittedEdit fitted = FitEditToByteLimit(accepted_, edited, byteLimit_);
    if (fitted.Text != edited) {
        setText(fitted.Text);
        setCursorPosition(fitted.Cursor);
    }
    accepted_ = text();
}
