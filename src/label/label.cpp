#include "label/label.h"

#include "base/process_values.h"
#include "label/qr_code.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace tagsmith::label {

namespace {

constexpr double kGridWidth = 320;
constexpr int kImageWidth = 320;
constexpr int kImageHeight = 240;
constexpr int kDotsPerMetre = 8000; // 203.2 dpi
constexpr int kMaxRows = 5;
constexpr double kStartFontSize = 7.6;
constexpr double kFontStep = 0.15;
constexpr double kFontFloor = 4.5;
constexpr int kPdfResolution = 203;
// Qt rounds a font's size to whole pixels of the painter's coordinates, which
// here are points. Rows are measured and drawn on a grid this much finer, so
// 7.6 pt and every 0.15 pt step below it keep their exact size.
constexpr double kFineGrid = 100;

// A font whose nominal size is `points` on the fine grid, whatever resolution
// the device reports.
QFont labelFont(double points, QPaintDevice* device) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // Where the system face lacks Han characters (Linux), the fallback would
    // take the first CJK face installed, whose forms are Japanese. The system
    // face goes first by its real name: an alias ("Sans Serif") in a list of
    // families is not resolved, and every character would come from the next.
    font.setFamilies({QFontInfo(font).family(), QStringLiteral("PingFang SC"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(points * kFineGrid * 72.0 / device->logicalDpiY());
    return font;
}

double textWidth(const QString& text, double points, QPaintDevice* device) {
    return QFontMetricsF(labelFont(points, device), device).horizontalAdvance(text) / kFineGrid;
}

QRectF rowFrame(int row, double unit) {
    const double width = row == 0 ? 180 : 290; // the first row shares its band with the QR code
    return {14 * unit, (94 + 27 * row) * unit, width * unit, 26 * unit};
}

} // namespace

QSizeF Label::sizeInPoints() {
    return {40 * mm, 30 * mm};
}

double Label::fittedFontSize(const QString& text, double frameWidth, QPaintDevice* device) {
    double size = kStartFontSize;
    while (textWidth(text, size, device) > frameWidth && size > kFontFloor)
        size -= kFontStep;
    return size;
}

void Label::draw(QPainter& painter, const QRectF& bounds) const {
    painter.fillRect(bounds, Qt::white);
    painter.save();
    painter.translate(bounds.topLeft() + QPointF(0, -2 * mm));
    const double unit = bounds.width() / kGridWidth;
    if (!serial.isEmpty())
        drawQrCode(painter, unit);
    drawRows(painter, unit);
    painter.restore();
}

void Label::drawQrCode(QPainter& painter, double unit) const {
    const std::optional<QImage> code = qrCodeImage(serial.toUtf8());
    if (!code)
        return;
    const int w = code->width();
    const int k = static_cast<int>(std::floor(124.0 / (w + 8)));
    const int x0 = 304 - (w + 8) * k;
    const QRectF target(unit * (x0 + 4 * k), unit * 4 * k, unit * w * k, unit * w * k);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false); // modules stay sharp
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setOpacity(1);
    painter.drawImage(target, *code);
    painter.restore();
}

void Label::drawRows(QPainter& painter, double unit) const {
    painter.setPen(Qt::black);
    const int count = std::min<int>(kMaxRows, static_cast<int>(rows.size()));
    for (int i = 0; i < count; ++i) {
        const QRectF frame = rowFrame(i, unit);
        const double size = fittedFontSize(rows.at(i), frame.width(), painter.device());
        painter.save();
        painter.scale(1 / kFineGrid, 1 / kFineGrid);
        painter.setFont(labelFont(size, painter.device()));
        const QRectF fineFrame(frame.topLeft() * kFineGrid, frame.size() * kFineGrid);
        painter.drawText(fineFrame, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, rows.at(i));
        painter.restore();
    }
}

void Label::drawFilling(QPainter& painter) const {
    // One coordinate unit becomes one point of the label.
    const double scale = painter.device()->width() / sizeInPoints().width();
    painter.scale(scale, scale);
    draw(painter, QRectF(QPointF(0, 0), sizeInPoints()));
}

QImage Label::toImage() const {
    QImage image(kImageWidth, kImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawFilling(painter);
    painter.end();
    // Set after drawing, which must not depend on it: the printer's 8 dots per
    // millimetre, so that an image viewer prints the label at 40 × 30 mm.
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    return image;
}

QByteArray Label::toPdf() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(
        QPageSize(QSizeF(40, 30), QPageSize::Millimeter, QStringLiteral("Label40x30"), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(kPdfResolution);
    writer.setTitle(QStringLiteral("MacBook ") + serial);
    QPainter painter(&writer);
    drawFilling(painter);
    painter.end();
    return bytes;
}

} // namespace tagsmith::label
