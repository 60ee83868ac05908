#include "label/label.h"

#include "label/qr_code.h"

#include "support/paths.h"
#include "support/qr_decode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

using tagsmith::label::Label;
using tagsmith::label::qrCodeImage;

namespace {

const QString kSerial = QStringLiteral("C02XK0ABJGH5");

Label sampleLabel() {
    Label label;
    label.rows = {QStringLiteral("23年   14寸"), QStringLiteral("M3PRO  11+14核"),
                  QStringLiteral("macbook pro  18G/512G"), QStringLiteral("序列号：") + kSerial,
                  QStringLiteral("A2992   电池100")};
    label.serial = kSerial;
    return label;
}

// The box around every pixel darker than mid-grey inside the region.
QRect darkBox(const QImage& image, const QRect& region) {
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QString decodeQr(const QImage& image) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.png"));
    EXPECT_TRUE(image.save(path));
    return tagsmith::test::decodeQrFile(path);
}

} // namespace

TEST(QrCode, VersionOneSymbolIsTwentyFiveModulesWithItsQuietZone) {
    const auto image = qrCodeImage(kSerial.toUtf8());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 25);
    EXPECT_EQ(image->height(), 25);
    EXPECT_EQ(darkBox(*image, image->rect()), QRect(2, 2, 21, 21));
    EXPECT_FALSE(qrCodeImage(QByteArray()));
}

TEST(Label, RendersA320By240ImageWhoseQrCodeDecodesToTheSerial) {
    const QImage image = sampleLabel().toImage();
    EXPECT_EQ(image.size(), QSize(320, 240));
    QDir().mkpath(tagsmith::test::buildPath(QStringLiteral("test-artifacts")));
    image.save(tagsmith::test::buildPath(QStringLiteral("test-artifacts/label.png"))); // for a person to look at
    EXPECT_EQ(decodeQr(image), kSerial);
}

TEST(Label, QrCodeSitsAtItsGridPositionShiftedUpTwoMillimetres) {
    // 25 modules: k = 3, the code's square starts at units (217, 12) and is 75 units wide;
    // its dark modules start two modules in, and the whole label is shifted up 16 units.
    const QImage image = sampleLabel().toImage();
    EXPECT_EQ(darkBox(image, QRect(200, 0, 120, 90)), QRect(217 + 6, 12 + 6 - 16, 63, 63));
}

TEST(Label, WithoutSerialDrawsRowsButNoCode) {
    Label label = sampleLabel();
    label.serial.clear();
    const QImage image = label.toImage();
    EXPECT_TRUE(darkBox(image, QRect(200, 0, 120, 70)).isNull());
    EXPECT_FALSE(darkBox(image, QRect(0, 70, 320, 30)).isNull()) << "row 1 is still drawn";
}

TEST(Label, DrawsAtMostFiveRowsInTheirBands) {
    Label label;
    label.rows = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                  QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六六六六六六六六六六六六六")};
    const QImage image = label.toImage();
    // Row i occupies units 94 + 27i .. +26, shifted up 16: the sixth row would start at 213.
    EXPECT_FALSE(darkBox(image, QRect(0, 78 + 4 * 27, 320, 26)).isNull());
    EXPECT_TRUE(darkBox(image, QRect(0, 78 + 5 * 27, 320, 240 - 78 - 5 * 27)).isNull());

    label.rows = {QStringLiteral("仅一行")};
    EXPECT_TRUE(darkBox(label.toImage(), QRect(0, 78 + 27, 320, 240 - 78 - 27)).isNull());
}

TEST(Label, RowsShrinkFromSevenPointSixToNoLessThanFourPointFourFive) {
    QImage device(320, 240, QImage::Format_ARGB32);
    EXPECT_DOUBLE_EQ(Label::fittedFontSize(QStringLiteral("23年   14寸"), 180 * 40 * 72 / 25.4 / 320, &device), 7.6);
    const QString longRow =
        QStringLiteral("macbook pro (16-inch, nov 2023) with a very long name  128G/8T").repeated(3);
    EXPECT_NEAR(Label::fittedFontSize(longRow, 290 * 40 * 72 / 25.4 / 320, &device), 4.45, 1e-9);

    Label label;
    label.rows = {QString(), longRow};
    const QImage image = label.toImage();
    const QRect drawn = darkBox(image, image.rect());
    EXPECT_GE(drawn.left(), 14);
    EXPECT_LE(drawn.right(), 14 + 290) << "an over-long row is clipped to its frame";
}

TEST(Label, PdfIsOneFortyByThirtyMillimetrePage) {
    const QByteArray pdf = sampleLabel().toPdf();
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    // Qt writes page boxes in whole points: 40 × 30 mm = 113.39 × 85.04 pt.
    static const QRegularExpression mediaBox(
        QStringLiteral("/MediaBox \\[0 0 (\\d+(?:\\.\\d+)?) (\\d+(?:\\.\\d+)?)\\]"));
    const auto boxes = mediaBox.globalMatch(QString::fromLatin1(pdf));
    int pages = 0;
    for (const auto& match : boxes) {
        ++pages;
        EXPECT_NEAR(match.captured(1).toDouble(), 40 * 72 / 25.4, 0.5);
        EXPECT_NEAR(match.captured(2).toDouble(), 30 * 72 / 25.4, 0.5);
    }
    EXPECT_EQ(pages, 1);
}
