#include "platform/gui/DesktopFonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace {

// The toolkit lists a family under its English name; the Japanese one is an alias.
const QStringList& ProportionalCandidates() {
    static const QStringList candidates{
        QStringLiteral("MS PGothic"),         QStringLiteral("ＭＳ Ｐゴシック"),
        QStringLiteral("Noto Sans CJK JP"),   QStringLiteral("Source Han Sans JP"),
        QStringLiteral("IPAPGothic"),         QStringLiteral("VL PGothic"),
        QStringLiteral("Droid Sans Fallback")};
    return candidates;
}

const QStringList& FixedPitchCandidates() {
    static const QStringList candidates{
        QStringLiteral("MS Gothic"), QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
        QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic"),     QStringLiteral("DejaVu Sans Mono")};
    return candidates;
}

} // namespace

QString FirstInstalledFamily(const QStringList& candidates, const QStringList& installed) {
    for (const QString& family : candidates)
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    return QString();
}

const QString& ProportionalFamily() {
    static const QString family = FirstInstalledFamily(ProportionalCandidates(), QFontDatabase::families());
    return family;
}

const QString& FixedPitchFamily() {
    static const QString family = FirstInstalledFamily(FixedPitchCandidates(), QFontDatabase::families());
    return family;
}

QFont ProportionalFont(int pixelSize, bool bold) {
    QFont font = ProportionalFamily().isEmpty() ? QFont() : QFont(ProportionalFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont FixedPitchFont(int pixelSize, bool bold) {
    QFont font;
    if (FixedPitchFamily().isEmpty()) {
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    } else {
        font.setFamily(FixedPitchFamily());
    }
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void InstallApplicationFont() {
    if (!ProportionalFamily().isEmpty()) QApplication::setFont(ProportionalFont(12));
}
