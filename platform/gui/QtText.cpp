#include "platform/gui/QtText.h"

#include "platform/Cp932.h"

namespace {

// CP932 keeps the 7-bit codes as they are, so such texts need no converter.
bool IsSevenBit(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsSevenBit(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

} // namespace

bool IsPlainAscii(const SjisString& text) {
    return IsSevenBit(std::string_view(text));
}

QString UiText(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QStringList UiTexts(std::initializer_list<const char*> utf8) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(utf8.size()));
    for (const char* text : utf8)
        texts.append(UiText(text));
    return texts;
}

QString SjisToQString(const SjisString& text) {
    if (IsSevenBit(std::string_view(text)))
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return QString::fromStdString(SjisToUtf8(text));
}

bool TryQStringToSjis(const QString& text, SjisString& out) {
    if (IsSevenBit(text)) {
        out = text.toLatin1().toStdString();
        return true;
    }
    return TryUtf8ToSjis(text.toStdString(), out);
}

SjisString QStringToSjis(const QString& text) {
    SjisString out;
    if (TryQStringToSjis(text, out)) return out;
    out.clear();
    for (qsizetype i = 0; i < text.size();) {
        // One "?" per character: a surrogate pair is one character.
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        SjisString piece;
        out += TryUtf8ToSjis(text.mid(i, length).toStdString(), piece) ? piece : SjisString("?");
        i += length;
    }
    return out;
}
