#include "label/label.h"

#include "base/atomic_file.h"
#include "label/qr_code.h"

#include "support/paths.h"
#include "support/qr_decode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

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

// The size in points each row was drawn at, top to bottom, read back from the
// PDF by poppler: a word's box is as high as the font's ascent plus descent.
QList<double> drawnRowSizes(const QByteArray& pdf) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.pdf"));
    EXPECT_TRUE(tagsmith::base::writeFileAtomically(path, pdf));
    QProcess poppler;
    poppler.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    EXPECT_TRUE(poppler.waitForFinished(20000));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(1000);
    const QFontMetricsF metrics(font);
    const double heightPerPoint = (metrics.ascent() + metrics.descent()) / 1000;
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="[^"]*" yMin="([^"]*)" xMax="[^"]*" yMax="([^"]*)")re"));
    QList<double> sizes;
    double lastTop = -1;
    for (const auto& match : word.globalMatch(QString::fromUtf8(poppler.readAllStandardOutput()))) {
        const double top = match.captured(1).toDouble();
        if (std::abs(top - lastTop) > 1) // the first word of each row
            sizes.append((match.captured(2).toDouble() - top) / heightPerPoint);
        lastTop = top;
    }
    return sizes;
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

TEST(Label, RendersA320By240ImageWithTheSerialsCode) {
    const QImage image = sampleLabel().toImage();
    EXPECT_EQ(image.size(), QSize(320, 240));
    const QString artifact = tagsmith::test::buildPath(QStringLiteral("test-artifacts/label.png"));
    QDir().mkpath(QFileInfo(artifact).path());
    ASSERT_TRUE(image.save(artifact)); // also for a person to look at
    EXPECT_EQ(tagsmith::test::decodeQrFile(artifact), kSerial);
}

TEST(Label, RowsAreDrawnAtTheExactSizeOfTheirShrinkStep) {
    const QString longRow =
        QStringLiteral("macbook pro (16-inch, nov 2023) with a very long name  128G/8T").repeated(3);
    Label label;
    label.rows = {QString(), QStringLiteral("macbook pro x  18G/512G"),
                  QStringLiteral("macbook pro (14-inch, m3 max, nov 2023)  128G/8T"), longRow};
    const QList<double> sizes = drawnRowSizes(label.toPdf());
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_NEAR(sizes[0], 7.6, 0.03) << "fits at 7.6 pt, so drawn at 7.6 pt";
    const double steps = (7.6 - sizes[1]) / 0.15;
    EXPECT_GE(steps, 1);
    EXPECT_NEAR(steps, std::round(steps), 0.2) << sizes[1] << " pt is not a 0.15 pt step below 7.6 pt";
    EXPECT_GT(std::abs(sizes[1] - std::round(sizes[1])), 0.1) << "a fractional step, not a whole size";
    EXPECT_NEAR(sizes[2], 4.45, 0.03) << "never below 4.45 pt";
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
    EXPECT_TRUE(pdf.contains("NotoSansCJKsc")) << "the Simplified Chinese forms of the Han characters";
    EXPECT_FALSE(pdf.contains("NotoSansCJKjp"));
}
