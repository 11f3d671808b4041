#include "platform/gui/QtText.h"

#include "platform/Cp932.h"

QString SjisToQString(const SjisString& text) { return QString::fromStdString(SjisToUtf8(text)); }

bool TryQStringToSjis(const QString& text, SjisString& out) { return TryUtf8ToSjis(text.toStdString(), out); }

SjisString QStringToSjis(const QString& text) {
    SjisString out;
    if (TryQStringToSjis(text, out)) return out;
    out.clear();
    for (const QChar ch : text) {
        SjisString piece;
        out += TryUtf8ToSjis(QString(ch).toStdString(), piece) ? piece : SjisString("?");
    }
    return out;
}
