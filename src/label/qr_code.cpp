#include "label/qr_code.h"

#include <qrencode.h>

#include <memory>

namespace tagsmith::label {

namespace {

constexpr int kQuietZoneModules = 2;

struct QRcodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

} // namespace

std::optional<QImage> qrCodeImage(const QByteArray& message) {
    if (message.isEmpty())
        return std::nullopt;
    // Byte mode for any text: the serial is encoded as its UTF-8 bytes.
    const std::unique_ptr<QRcode, QRcodeFree> code(
        QRcode_encodeData(static_cast<int>(message.size()), reinterpret_cast<const unsigned char*>(message.constData()),
                          0, QR_ECLEVEL_M));
    if (!code)
        return std::nullopt;
    const int modules = code->width;
    const int side = modules + 2 * kQuietZoneModules;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            if (code->data[y * modules + x] & 1)
                image.setPixel(x + kQuietZoneModules, y + kQuietZoneModules, qRgb(0, 0, 0));
        }
    }
    return image;
}

} // namespace tagsmith::label
