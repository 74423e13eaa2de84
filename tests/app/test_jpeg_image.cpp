#include "app/jpeg_image.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class JpegImageTest : public ::testing::Test {
  protected:
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir dir;
};

TEST_F(JpegImageTest, DecodesColourAndGrayscalePictures) {
    ASSERT_TRUE(dir.isValid());
    QImage colour(64, 48, QImage::Format_RGB32);
    colour.fill(QColor(200, 30, 40));
    QImage gray(17, 9, QImage::Format_Grayscale8); // odd width: QImage rows are padded
    gray.fill(QColor(128, 128, 128));
    const QString colourFile = dir.filePath(QStringLiteral("logo.jpg"));
    const QString grayFile = dir.filePath(QStringLiteral("gray.jpg"));
    ASSERT_TRUE(colour.save(colourFile, "JPG", 95) && gray.save(grayFile, "JPG", 95));

    QImage image;
    QString error = QStringLiteral("stale");
    ASSERT_TRUE(loadJpeg(colourFile, image, error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(image.size(), QSize(64, 48));
    const QColor centre = image.pixelColor(32, 24);
    EXPECT_NEAR(centre.red(), 200, 6);
    EXPECT_NEAR(centre.green(), 30, 6);
    EXPECT_NEAR(centre.blue(), 40, 6);

    ASSERT_TRUE(loadJpeg(grayFile, image, error)) << error.toStdString();
    EXPECT_EQ(image.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(image.size(), QSize(17, 9));
    EXPECT_NEAR(qGray(image.pixel(16, 8)), 128, 4);
}

TEST_F(JpegImageTest, BadFilesGiveACzechReasonAndLeaveTheImageAlone) {
    ASSERT_TRUE(dir.isValid());
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("valid.jpg")), "JPG"));
    QFile validFile(dir.filePath(QStringLiteral("valid.jpg")));
    ASSERT_TRUE(validFile.open(QIODevice::ReadOnly));
    const QByteArray valid = validFile.readAll();
    const QString truncated = QStringLiteral("soubor je neúplný (data obrázku předčasně končí)");

    const struct {
        QString file;
        QString reason;
    } cases[] = {
        {dir.filePath(QStringLiteral("chybi.jpg")), QStringLiteral("soubor neexistuje")},
        {writeFile(QStringLiteral("prazdny.jpg"), {}), QStringLiteral("soubor je prázdný")},
        {writeFile(QStringLiteral("text.jpg"), "[database string]\r\nProvider=x;\r\n"),
         QStringLiteral("soubor není ve formátu JPEG")},
        {writeFile(QStringLiteral("pulka.jpg"), valid.left(valid.size() / 2)), truncated},
        {writeFile(QStringLiteral("hlavicka.jpg"), valid.left(40)), truncated},
        {dir.path(), QStringLiteral("jde o složku, ne o soubor")},
    };
    QImage placeholder(3, 2, QImage::Format_RGB32);
    placeholder.fill(Qt::green);
    for (const auto& c : cases) {
        QImage image = placeholder;
        QString error;
        EXPECT_FALSE(loadJpeg(c.file, image, error)) << c.file.toStdString();
        EXPECT_EQ(error,
                  QStringLiteral("Obrázek \"") + c.file + QStringLiteral("\" nelze načíst: ") + c.reason);
        EXPECT_EQ(image, placeholder) << c.file.toStdString();
    }
}

// A small real picture whose frame header is changed to declare another size, as a
// damaged or tampered logo.jpg would.
QByteArray withDeclaredSize(bool progressive, int width, int height) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(10, 120, 200));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(picture));
    QByteArray data = buffer.data();
    const char sof = progressive ? '\xC2' : '\xC0';
    for (qsizetype i = 0; i + 8 < data.size(); ++i) {
        if (data[i] == '\xFF' && data[i + 1] == sof) {
            // FF Cx, length (2), precision (1), height (2), width (2)
            data[i + 5] = char(height >> 8);
            data[i + 6] = char(height & 0xFF);
            data[i + 7] = char(width >> 8);
            data[i + 8] = char(width & 0xFF);
            return data;
        }
    }
    ADD_FAILURE() << "no frame header";
    return data;
}

TEST_F(JpegImageTest, AnAbsurdDeclaredSizeIsRefusedBeforeAnythingIsDecoded) {
    const struct {
        bool progressive;
        int width;
        int height;
        QString reason;
    } cases[] = {
        {false, 65500, 65500,
         QStringLiteral("obrázek je příliš velký (65500 × 65500 bodů; úvodní obrázek má 988 × 586 bodů)")},
        {true, 65500, 65500,
         QStringLiteral("obrázek je příliš velký (65500 × 65500 bodů; úvodní obrázek má 988 × 586 bodů)")},
        {false, 20000, 8, QStringLiteral("obrázek je příliš velký (20000 × 8 bodů; úvodní obrázek má 988 × 586 bodů)")},
        // Within the limits, but far more than the file's data can describe.
        {false, 8000, 6000, QStringLiteral("poškozená data JPEG (hlavička udává 8000 × 6000 bodů, na které %1 bajtů "
                                           "souboru nestačí)")},
        {true, 4000, 3000, QStringLiteral("poškozená data JPEG (hlavička udává 4000 × 3000 bodů, na které %1 bajtů "
                                          "souboru nestačí)")},
    };
    for (const auto& c : cases) {
        const QByteArray data = withDeclaredSize(c.progressive, c.width, c.height);
        QImage image;
        QString reason;
        EXPECT_FALSE(decodeJpeg(data, image, reason)) << c.width << "x" << c.height;
        EXPECT_EQ(reason, c.reason.contains(QLatin1String("%1")) ? c.reason.arg(data.size()) : c.reason);
        EXPECT_TRUE(image.isNull());
    }
    // The same picture with its own size still decodes.
    QImage image;
    QString reason;
    for (bool progressive : {false, true}) {
        EXPECT_TRUE(decodeJpeg(withDeclaredSize(progressive, 64, 48), image, reason)) << reason.toStdString();
        EXPECT_EQ(image.size(), QSize(64, 48));
    }
}

} // namespace
} // namespace kelvarn
