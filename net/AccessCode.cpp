#include "net/AccessCode.h"

#include <QByteArray>
#include <QCryptographicHash>

SjisString MD5String(const SjisString& text) {
    QByteArray digest = QCryptographicHash::hash(QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                                                 QCryptographicHash::Md5);
    return digest.toHex().toStdString();
}

SjisString BuildAccessCode(const LocalTime& time, const SjisString& account, const SjisString& password,
                           const SjisString& computerName) {
    static const SjisString kServiceLabel = "VOSTRANE.NET "; // 13 characters ending in a blank
    return MD5String(kServiceLabel + FormatTime(time, "yyyy/mm/dd hh:nn:ss") + account + "/" + password +
                     "/" + computerName);
}
