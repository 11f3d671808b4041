#include "platform/gui/QtText.h"

#include "platform/Cp932.h"

QString SjisToQString(const SjisString& text) { return QString::fromStdString(SjisToUtf8(text)); }

bool TryQStringToSjis(const QString& text, SjisString& out) { return TryUtf8ToSjis(text.toStdString(), out); }

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
