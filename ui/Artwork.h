#pragma once

#include <QIcon>

#include <vector>

// Fonts and images of the windows, drawn in code.

// The 13 row images of the song lists (20 x 20): image k for best-chart code k.
// 0 no points; 1..3 a song below its category's counted top (difficulty only);
// 4..12 the counted best chart (play mode letter on the difficulty's colour).
// A selected row draws them as they are, not faded toward the highlight.
std::vector<QIcon> MakeRowImages();

enum class ToolGlyph { Exit, Comp, Send, Export, TxtOut, HtmlOut, Option, BatchUpdate, BatchClear };
QIcon MakeToolGlyph(ToolGlyph glyph);

// A display-toggle glyph: a short mark on a coloured tile (16 x 14).
QIcon MakeToggleGlyph(const QString& mark, const QColor& tile);

// The application's icon.
QIcon MakeAppIcon();
