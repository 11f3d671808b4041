#include "ui/Artwork.h"

#include "platform/gui/DesktopFonts.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace {

const QColor kLevelColours[3] = {QColor(0, 128, 0), QColor(128, 128, 0), QColor(128, 0, 0)};

QPixmap Blank(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Letters of the images are drawn in the bold 12-pixel face the windows load
// anyway, scaled to the size wanted: each further size of a font would be
// loaded and prepared on its own at start-up.
void DrawGlyphText(QPainter& painter, const QRectF& box, const QString& text, int pixelSize) {
    constexpr int kLoadedSize = 12;
    const double scale = static_cast<double>(pixelSize) / kLoadedSize;
    painter.save();
    painter.setFont(ProportionalFont(kLoadedSize, true));
    painter.translate(box.center());
    painter.scale(scale, scale);
    const QRectF unscaled(-box.width() / 2 / scale, -box.height() / 2 / scale, box.width() / scale,
                          box.height() / scale);
    painter.drawText(unscaled, Qt::AlignCenter, text);
    painter.restore();
}

QPixmap RowImage(int code) {
    QPixmap pixmap = Blank(20, 20);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (code == 0) {
        painter.setPen(QPen(QColor(160, 160, 160), 1.5));
        painter.drawLine(6, 10, 14, 10);
        return pixmap;
    }
    if (code <= 3) {
        // Below the counted top: an outlined tile, the difficulty's initial.
        const QColor colour = kLevelColours[code - 1];
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(2, 2, 16, 16), 3, 3);
        DrawGlyphText(painter, QRectF(2, 2, 16, 16), QString(QLatin1Char("BAE"[code - 1])), 11);
        return pixmap;
    }
    const int chart = code - 4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLevelColours[chart % 3]);
    painter.drawRoundedRect(QRectF(1, 1, 18, 18), 3, 3);
    painter.setPen(Qt::white);
    DrawGlyphText(painter, QRectF(1, 1, 18, 18), QString(QLatin1Char("SBO"[chart / 3])), 12);
    return pixmap;
}

void DrawDocument(QPainter& painter, const QColor& ink, const QString& mark) {
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(
        QPolygon({QPoint(4, 2), QPoint(15, 2), QPoint(19, 6), QPoint(19, 21), QPoint(4, 21)}));
    painter.setPen(ink);
    DrawGlyphText(painter, QRectF(4, 7, 16, 12), mark, mark.size() > 2 ? 6 : 8);
}

} // namespace

std::vector<QIcon> MakeRowImages() {
    std::vector<QIcon> images;
    images.reserve(13);
    for (int code = 0; code <= 12; ++code) {
        // The image tells the best chart, as the purple cell does: no selection fades it.
        const QPixmap pixmap = RowImage(code);
        QIcon image(pixmap);
        image.addPixmap(pixmap, QIcon::Selected);
        images.push_back(image);
    }
    return images;
}

QIcon MakeToolGlyph(ToolGlyph glyph) {
    QPixmap pixmap = Blank(24, 24);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case ToolGlyph::Exit:
        painter.setPen(QPen(QColor(90, 60, 30), 1.5));
        painter.setBrush(QColor(200, 160, 100));
        painter.drawRect(QRectF(5, 2, 12, 20));
        painter.setPen(QPen(QColor(200, 30, 30), 2.5));
        painter.drawLine(13, 12, 22, 12);
        painter.drawLine(19, 9, 22, 12);
        painter.drawLine(19, 15, 22, 12);
        break;
    case ToolGlyph::Comp:
        painter.setPen(QPen(QColor(30, 90, 180), 2.5));
        painter.drawArc(QRectF(4, 4, 16, 16), 40 * 16, 280 * 16);
        painter.setBrush(QColor(30, 90, 180));
        painter.drawPolygon(QPolygon({QPoint(17, 2), QPoint(22, 8), QPoint(15, 9)}));
        break;
    case ToolGlyph::Send:
        painter.setPen(QPen(QColor(30, 130, 60), 2.5));
        painter.drawLine(8, 20, 8, 5);
        painter.drawLine(4, 9, 8, 4);
        painter.drawLine(12, 9, 8, 4);
        painter.setPen(QPen(QColor(200, 90, 20), 2.5));
        painter.drawLine(16, 4, 16, 19);
        painter.drawLine(12, 15, 16, 20);
        painter.drawLine(20, 15, 16, 20);
        break;
    case ToolGlyph::Export:
        DrawDocument(painter, QColor(60, 60, 60), QStringLiteral("..."));
        break;
    case ToolGlyph::TxtOut:
        DrawDocument(painter, QColor(20, 20, 160), QStringLiteral("T"));
        break;
    case ToolGlyph::HtmlOut:
        DrawDocument(painter, QColor(200, 90, 20), QStringLiteral("<>"));
        break;
    case ToolGlyph::Option: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(110, 110, 120));
        for (int i = 0; i < 8; ++i) {
            painter.save();
            painter.translate(12, 12);
            painter.rotate(45.0 * i);
            painter.drawRect(QRectF(-2, -11, 4, 5));
            painter.restore();
        }
        painter.drawEllipse(QPointF(12, 12), 7.5, 7.5);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(12, 12), 3, 3);
        break;
    }
    case ToolGlyph::BatchUpdate:
        painter.setPen(QPen(QColor(30, 130, 60), 3));
        painter.drawLine(5, 12, 10, 18);
        painter.drawLine(10, 18, 19, 5);
        break;
    case ToolGlyph::BatchClear:
        painter.setPen(QPen(QColor(30, 90, 180), 2.5));
        painter.drawArc(QRectF(5, 5, 14, 14), 90 * 16, -270 * 16);
        painter.setBrush(QColor(30, 90, 180));
        painter.drawPolygon(QPolygon({QPoint(12, 1), QPoint(12, 9), QPoint(7, 5)}));
        break;
    }
    return QIcon(pixmap);
}

QIcon MakeToggleGlyph(const QString& mark, const QColor& tile) {
    QPixmap pixmap = Blank(16, 14);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(0, 0, 16, 14), 3, 3);
    painter.setPen(Qt::white);
    DrawGlyphText(painter, QRectF(0, 0, 16, 14), mark, 10);
    return QIcon(pixmap);
}

QIcon MakeAppIcon() {
    QPixmap pixmap = Blank(32, 32);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 0, 64));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    painter.setPen(QColor(255, 192, 255));
    DrawGlyphText(painter, QRectF(1, 1, 30, 30), QStringLiteral("P"), 20);
    return QIcon(pixmap);
}
