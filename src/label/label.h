#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

namespace tagsmith::label {

// The 40 × 30 mm adhesive label: up to five text rows and a QR code of the
// serial. One drawing routine serves the screen, the PNG, the PDF job file and
// the printer, so what the operator sees is what the printer gets.
class Label {
public:
    QStringList rows;
    QString serial; // no QR code when empty

    static QSizeF sizeInPoints(); // 40 mm × 30 mm

    // Draws into bounds given in the painter's current coordinates, whatever
    // the device (the label is laid out on a 320 × 240 unit grid).
    void draw(QPainter& painter, const QRectF& bounds) const;
    // Draws over the painter's whole device, one label per device width.
    void drawFilling(QPainter& painter) const;

    QImage toImage() const;   // 320 × 240 pixels, one pixel per grid unit
    QByteArray toPdf() const; // one 40 × 30 mm page

private:
    // Point size actually used for a row: 7.6 pt, shrunk in 0.15 pt steps to
    // fit the frame width (in points), never below 4.45 pt.
    static double fittedFontSize(const QString& text, double frameWidth, QPaintDevice* device);
    void drawQrCode(QPainter& painter, double unit) const;
    void drawRows(QPainter& painter, double unit) const;
};

} // namespace tagsmith::label
