#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The program's two faces, the proportional "ＭＳ Ｐゴシック" and the fixed-pitch
// "ＭＳ ゴシック", each looked up once among the fonts this desktop has, with a
// Japanese face of the same kind standing in when the named one is missing.
//
// Asking the toolkit for a family it does not have is slow (it searches the
// whole font configuration for a substitute, once per size and weight), so
// fonts are made only with families that exist.

// The first of `candidates` that `installed` holds, or an empty text.
QString FirstInstalledFamily(const QStringList& candidates, const QStringList& installed);

// Resolved on first use; empty when the desktop has none of the candidates.
const QString& ProportionalFamily();
const QString& FixedPitchFamily();

// The proportional face at a pixel size; without a candidate, the toolkit's default.
QFont ProportionalFont(int pixelSize, bool bold = false);
// The fixed-pitch face; without a candidate, the toolkit's monospace choice.
QFont FixedPitchFont(int pixelSize, bool bold = false);

// Makes the proportional face of 12 pixels every window's default font.
void InstallApplicationFont();
